#include "messagebox.h"

#include "formula/messagehook.h"

#include <QApplication>
#include <QMessageBox>

namespace lw {

std::unique_ptr<QMessageBox> MessageBoxFor(const Message &message, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(message.title);
    box->setText(message.text);
    switch (message.icon) {
    case MessageIcon::None: box->setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Warning: box->setIcon(QMessageBox::Warning); break;
    case MessageIcon::Information: box->setIcon(QMessageBox::Information); break;
    case MessageIcon::Critical: box->setIcon(QMessageBox::Critical); break;
    }
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

void InstallMessageBoxes()
{
    InstallMessageHook([](const Message &message) {
        MessageBoxFor(message, QApplication::activeWindow())->exec();
    });
}

} // namespace lw
