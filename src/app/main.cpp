// Program entry of the desktop client: the main window and the event loop.
#include "app/TfrmMain.h"
#include "net/TAgent_Client_Base.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

int main(int argc, char *argv[]) {
    QApplication App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavix Corlan"));
    QApplication::setOrganizationName(QStringLiteral("Tavix"));

    auto MainWindow = std::make_unique<TfrmMain>();
    MainWindow->show();
    const int Result = App.exec();
    MainWindow.reset();

    // A request still under way must not outlive the objects it uses; when one does not end in time it is
    // left to the operating system and the process ends without further clean-up.
    if (!TAgent_Client_Base::WaitForAll(3000))
        std::_Exit(Result);
    return Result;
}
