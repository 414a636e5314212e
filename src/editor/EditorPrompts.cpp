#include "EditorPrompts.h"

#include "qtgui/FontConversion.h"
#include "qtgui/QtFontCache.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>

namespace lanthor {

namespace {

constexpr const char* kTreeFileFilter = "Tree files (*.csv);;All files (*)";

SaveChangesAnswer askSaveChanges(QWidget* window, const QString& documentName) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(),
                    QStringLiteral("Do you want to save the changes made to the document “%1”?")
                        .arg(documentName),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window);
    box.setInformativeText(QStringLiteral("Your changes will be lost if you don’t save them."));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Don’t Save"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
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
    box.exec();
    return box.clickedButton() == restore;
}

void showError(QWidget* window, const QString& text, const QString& reason) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, window);
    box.setInformativeText(reason);
    box.exec();
}

QString chooseOpenPath(QWidget* window) {
    return QFileDialog::getOpenFileName(window, QStringLiteral("Open"), QString(),
                                        QString::fromLatin1(kTreeFileFilter));
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
                                          {"PDF document (*.pdf)", "pdf"}};
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

} // namespace

EditorPrompts qtEditorPrompts() {
    return {askSaveChanges, askRestoreRecovery, showError, chooseOpenPath,
            chooseSavePath, chooseExportPath,   chooseFont};
}

} // namespace lanthor
