#pragma once

#include <memory>

class QMessageBox;
class QWidget;

namespace lw {

struct Message;

// The box that shows `message`: its title, text and icon, one OK button.
std::unique_ptr<QMessageBox> MessageBoxFor(const Message &message, QWidget *parent);

// Shows the program's messages as message boxes with one OK button.
void InstallMessageBoxes();

} // namespace lw
