#include "ProcessSetup.h"

#include <signal.h>
#include <sys/prctl.h>

void SetUpProcess() {
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    ::signal(SIGXFSZ, SIG_IGN);
}
