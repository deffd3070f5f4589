#include <iostream>
#include <optional>
#include <span>

#include <QGuiApplication>

#include "CommandLine.h"
#include "InstallLayout.h"
#include "OutsideControls.h"
#include "ProcessSetup.h"
#include "VeilnoteApp.h"

// The one application object.
CVeilnoteApp theApp;

int main(int argc, char** argv) {
    SetUpProcess();
    // Answered before the window system starts, so that they work without a
    // display, and so that the window system never sees arguments it would
    // pass over in silence.
    const std::span<char* const> args(argv, static_cast<std::size_t>(argc));
    const StartRequest request = ReadStartRequest(args.empty() ? args : args.subspan(1));
    if (const std::optional<int> exitCode = AnswerBeforeWindow(request, std::cout, std::cerr))
        return *exitCode;
    QGuiApplication::setDesktopFileName(install_layout::kDesktopId);
    // The controls this program hosts, as an installer would register them.
    RegisterOutsideControls(theApp.Controls());
    return AfxWinMain(argc, argv);
}
