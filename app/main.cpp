#include "OutsideControls.h"
#include "VeilnoteApp.h"

// The one application object.
CVeilnoteApp theApp;

int main(int argc, char** argv) {
    // The controls this program hosts, as an installer would register them.
    RegisterOutsideControls(theApp.Controls());
    return AfxWinMain(argc, argv);
}
