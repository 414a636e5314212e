#include "QtInputAlert.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lanthor {

namespace {

QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::optional<std::u16string> QtInputAlert::run(std::u16string_view prompt,
                                                std::u16string_view fieldText) {
    QWidget* const asking = QApplication::activeWindow();
    QDialog dialog(asking);
    dialog.setObjectName(QStringLiteral("inputAlert"));
    dialog.setWindowTitle(QApplication::applicationDisplayName());

    auto* message = new QLabel(toQString(prompt), &dialog);
    message->setObjectName(QStringLiteral("inputAlertPrompt"));
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);

    auto* field = new QLineEdit(toQString(fieldText), &dialog);
    field->setObjectName(QStringLiteral("inputAlertField"));
    field->setFixedSize(400, 48);
    field->selectAll();

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(message);
    layout->addWidget(field);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const bool accepted = dialog.exec() == QDialog::Accepted;
    // Without a window manager nothing gives the window back its focus, and its shortcuts would
    // stay dead until the next click.
    if (asking) {
        asking->activateWindow();
    }
    if (!accepted) {
        return std::nullopt;
    }
    return field->text().toStdU16String();
}

} // namespace lanthor
