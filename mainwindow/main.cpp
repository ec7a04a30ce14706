#include "frmmain.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    lw::SetUpApplication(app);
    const auto window = lw::Main();
    return QApplication::exec();
}
