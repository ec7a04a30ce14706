#include "messagebox.h"

#include "formula/messagehook.h"

#include <QApplication>
#include <QMessageBox>

namespace lw {

void InstallMessageBoxes()
{
    InstallMessageHook([](const Message &message) {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(message.title);
        box.setText(message.text);
        switch (message.icon) {
        case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    });
}

} // namespace lw
