#include "Usage.h"

namespace {

constexpr std::string_view kToolUsage =
    "Usage: veilnote-cli COMMAND ...\n"
    "       veilnote-cli --help | --version\n"
    "Hides a short password-guarded text message in a .bmp file, and reveals it.\n"
    "\n"
    "Commands:\n"
    "  hide IMAGE OUTPUT [--seal] [--text-file FILE] [--password-file PWFILE]\n"
    "                    [--force | --convert]\n"
    "  reveal IMAGE [--password-file PWFILE]\n"
    "  info IMAGE\n"
    "\n"
    "Run 'veilnote-cli COMMAND --help' for one command's details.\n"
    "The password is the first line of PWFILE, else $VEILNOTE_PASSWORD, else it is\n"
    "asked on the terminal. It is never taken on the command line.\n";

constexpr std::string_view kHideUsage =
    "Usage: veilnote-cli hide IMAGE OUTPUT [--seal] [--text-file FILE]\n"
    "                         [--password-file PWFILE] [--force | --convert]\n"
    "Hides a message in a copy of IMAGE, written to OUTPUT (which may be IMAGE).\n"
    "\n"
    "  --seal                seal the message with the whole password: only\n"
    "                        Veilnote can then read it, and only with that password\n"
    "  --text-file FILE      the message is FILE's bytes up to the first zero byte;\n"
    "                        without it, standard input is read to its end\n"
    "  --password-file PWFILE\n"
    "                        the password is PWFILE's first line; without it,\n"
    "                        $VEILNOTE_PASSWORD, else asked twice on the terminal\n"
    "  --force               hide even where it would visibly change the picture\n"
    "  --convert             where it would, hide in a copy of IMAGE re-encoded as an\n"
    "                        uncompressed 24-bit bitmap, which looks the same\n"
    "\n"
    "Without --force or --convert, a message that would visibly change IMAGE (or an\n"
    "IMAGE that is not a bitmap) is refused; 'info' shows how much it takes safely.\n"
    "A password has 8 to 16 bytes. Unsealed, only its first 8 bytes are kept, and\n"
    "the message is read by anyone with the program.\n";

constexpr std::string_view kRevealUsage =
    "Usage: veilnote-cli reveal IMAGE [--password-file PWFILE]\n"
    "Writes the message hidden in IMAGE to standard output. A sealed message needs\n"
    "the whole password.\n"
    "\n"
    "  --password-file PWFILE\n"
    "                        the password is PWFILE's first line; without it,\n"
    "                        $VEILNOTE_PASSWORD, else asked on the terminal\n";

constexpr std::string_view kInfoUsage =
    "Usage: veilnote-cli info IMAGE\n"
    "Shows IMAGE's size, how many message bytes it can take, what kind of picture\n"
    "it is, how many message bytes it takes without any visible change, how many\n"
    "it takes sealed, whether it holds a hidden password, and whether its message\n"
    "is sealed.\n";

}  // namespace

std::string_view ToolUsage() {
    return kToolUsage;
}

std::string_view CommandUsage(std::string_view command) {
    if (command == "hide") {
        return kHideUsage;
    }
    if (command == "reveal") {
        return kRevealUsage;
    }
    if (command == "info") {
        return kInfoUsage;
    }
    return kToolUsage;
}
