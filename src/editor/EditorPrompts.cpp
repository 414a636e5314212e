#include "EditorPrompts.h"

#include "qtgui/FontConversion.h"
#include "qtgui/QtFontCache.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace lanthor {

namespace {

constexpr const char* kTreeFileFilter = "Tree files (*.csv);;All files (*)";
/// Lines of a warning shown in the box itself; the rest are under "Show Details".
constexpr qsizetype kWarningLinesShown = 12;

/// Shows the box with every text in it as plain text: file names and node texts come from
/// outside and must never be read as markup.
int execPlain(QMessageBox& box) {
    for (QLabel* label : box.findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
    }
    return box.exec();
}

SaveChangesAnswer askSaveChanges(QWidget* window, const QString& documentName) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(),
                    QStringLiteral("Do you want to save the changes made to the document “%1”?")
                        .arg(documentName),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window);
    box.setInformativeText(QStringLiteral("Your changes will be lost if you don’t save them."));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Don’t Save"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (execPlain(box)) {
    case QMessageBox::Save:
        return SaveChangesAnswer::Save;
    case QMessageBox::Discard:
        return SaveChangesAnswer::Discard;
    default:
        return SaveChangesAnswer::Cancel;
    }
}

bool askRestoreRecovery(QWidget* window, const QString& documentName, const QString& savedAt) {
    QMessageBox box(
        QMessageBox::Question, QApplication::applicationDisplayName(),
        QStringLiteral("The document “%1” has changes that were never saved.").arg(documentName),
        QMessageBox::NoButton, window);
    box.setInformativeText(
        QStringLiteral("Lanthor kept a copy of them at %1. Do you want to restore it?")
            .arg(savedAt));
    QPushButton* restore = box.addButton(QStringLiteral("Restore"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    execPlain(box);
    return box.clickedButton() == restore;
}

void showError(QWidget* window, const QString& text, const QString& reason) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, window);
    box.setInformativeText(reason);
    execPlain(box);
}

void showWarning(QWidget* window, const QString& text, const QStringList& problems) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, window);
    QStringList shown = problems.mid(0, kWarningLinesShown);
    if (problems.size() > kWarningLinesShown) {
        shown << QStringLiteral("… and %1 more (see the details).")
                     .arg(problems.size() - kWarningLinesShown);
        box.setDetailedText(problems.join(QLatin1Char('\n')));
    }
    box.setInformativeText(shown.join(QLatin1Char('\n')));
    execPlain(box);
}

QString chooseOpenPath(QWidget* window) {
    return QFileDialog::getOpenFileName(window, QStringLiteral("Open"), QString(),
                                        QString::fromLatin1(kTreeFileFilter));
}

QString chooseImportPath(QWidget* window) {
    return QFileDialog::getOpenFileName(
        window, QStringLiteral("Import"), QString(),
        QStringLiteral("Tree text (*.brackets *.bracket *.ptb *.mrg *.penn);;All files (*)"));
}

QString chooseSavePath(QWidget* window, const QString& suggested) {
    QFileDialog dialog(window, QStringLiteral("Save As"), suggested,
                       QString::fromLatin1(kTreeFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString chooseExportPath(QWidget* window, const QString& suggested) {
    struct Choice {
        const char* filter;
        const char* suffix;
    };
    static constexpr Choice kChoices[] = {{"JPEG image (*.jpg *.jpeg)", "jpg"},
                                          {"PNG image (*.png)", "png"},
                                          {"SVG drawing (*.svg)", "svg"},
                                          {"PDF document (*.pdf)", "pdf"},
                                          {"Labelled brackets (*.brackets)", "brackets"},
                                          {"Penn Treebank (*.ptb)", "ptb"},
                                          {"LaTeX for forest (*.tex)", "tex"},
                                          {"LaTeX for tikz-qtree (*.qtree)", "qtree"}};
    QStringList filters;
    for (const Choice& choice : kChoices) {
        filters << QString::fromLatin1(choice.filter);
    }
    QFileDialog dialog(window, QStringLiteral("Export As"), suggested);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromLatin1(kChoices[0].suffix));
    // A name typed without an extension gets the one of the format chosen in the list.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, filters](const QString& filter) {
                         const auto index = filters.indexOf(filter);
                         if (index >= 0) {
                             dialog.setDefaultSuffix(QString::fromLatin1(kChoices[index].suffix));
                         }
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

std::optional<Font> chooseFont(QWidget* window, const Font& current) {
    // The dialog lists installed families only: it starts from the one that stands in for
    // the configured family (Nimbus Sans for Helvetica, say).
    QFont shown = toQFont(current);
    shown.setFamily(QFontInfo(qtFont(current)).family());
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, shown, window, QStringLiteral("Font"));
    if (!ok) {
        return std::nullopt;
    }
    const Font font = fromQFont(chosen);
    // Left as it was shown: the configured font stays, under its own family name.
    return font == fromQFont(shown) ? current : font;
}

void showAbout(QWidget* window, const QString& text, const QString& details) {
    QMessageBox box(QMessageBox::NoIcon,
                    QStringLiteral("About %1").arg(QApplication::applicationDisplayName()), text,
                    QMessageBox::Ok, window);
    // The installed icon, when the desktop's theme has it.
    box.setIconPixmap(QIcon::fromTheme(QStringLiteral("lanthor")).pixmap(64));
    box.setInformativeText(details);
    execPlain(box);
}

} // namespace

EditorPrompts qtEditorPrompts() {
    return {askSaveChanges,   askRestoreRecovery, showError,        showWarning, chooseOpenPath,
            chooseImportPath, chooseSavePath,     chooseExportPath, chooseFont,  showAbout};
}

} // namespace lanthor
