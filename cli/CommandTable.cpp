#include "CommandTable.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::string_view, 2> kHideOptions{"--text-file", "--password-file"};
constexpr std::array<std::string_view, 3> kHideFlags{"--force", "--convert", "--seal"};
constexpr std::array<std::string_view, 1> kRevealOptions{"--password-file"};

constexpr std::string_view kHideDescription =
    "Hides a message in a copy of IMAGE, written to OUTPUT (which may be IMAGE).\n"
    "\n"
    "  --seal                seal the message with the whole password: only\n"
    "                        Veilnote can then read it, and only with that password\n"
    "  --text-file FILE      the message is FILE's bytes; without it, standard\n"
    "                        input is read to its end. Unsealed, a message is text:\n"
    "                        one with a zero byte is refused (seal it instead)\n"
    "  --password-file PWFILE\n"
    "                        the password is PWFILE's first line; without it,\n"
    "                        $VEILNOTE_PASSWORD, else asked twice on the terminal\n"
    "  --force               hide even where it would visibly change the picture\n"
    "  --convert             where it would, or where IMAGE is too small, hide in a\n"
    "                        copy of IMAGE re-encoded as an uncompressed bitmap,\n"
    "                        which looks the same. A PNG, JPEG, WebP, GIF or TIFF\n"
    "                        picture is always decoded into such a copy\n"
    "\n"
    "Without --force or --convert, a message that would visibly change IMAGE (or an\n"
    "IMAGE that is not a bitmap) is refused; 'info' shows how much it takes safely.\n"
    "A password has 8 to 16 bytes. Unsealed, only its first 8 bytes are kept, and\n"
    "the message is read by anyone with the program. Sealed, a passphrase may have\n"
    "up to 128 bytes, and a weak one draws a warning.\n";

constexpr std::string_view kRevealDescription =
    "Writes the message hidden in IMAGE to standard output. A sealed message needs\n"
    "the whole password.\n"
    "\n"
    "  --password-file PWFILE\n"
    "                        the password is PWFILE's first line; without it,\n"
    "                        $VEILNOTE_PASSWORD, else asked on the terminal\n";

constexpr std::string_view kInfoDescription =
    "Shows IMAGE's size, how many message bytes it can take, what kind of picture\n"
    "it is, how many message bytes it takes without any visible change, how many\n"
    "it takes sealed, whether it holds a hidden password, whether its message is\n"
    "sealed, and a sealed message's key derivation limits. For a PNG, JPEG, WebP,\n"
    "GIF or TIFF picture, read from its headers alone, the sizes are those of the\n"
    "bitmap copy 'hide --convert' would make.\n";

constexpr std::array kCommands{
    Command{"hide",
            "IMAGE OUTPUT [--seal] [--text-file FILE] [--password-file PWFILE] "
            "[--force | --convert]",
            kHideDescription, kHideOptions, kHideFlags, 2, RunHide},
    Command{"reveal",
            "IMAGE [--password-file PWFILE]",
            kRevealDescription,
            kRevealOptions,
            {},
            1,
            RunReveal},
    Command{"info", "IMAGE", kInfoDescription, {}, {}, 1, RunInfo},
};

}  // namespace

std::span<const Command> ToolCommands() {
    return kCommands;
}

const Command* FindCommand(std::string_view name) {
    const auto found = std::ranges::find(kCommands, name, &Command::name);
    return found == kCommands.end() ? nullptr : &*found;
}
