// The bash completion that is installed with the tool offers what the tool's
// command table holds: bash itself runs the completion function here.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "CliTestSupport.h"
#include "CommandTable.h"

namespace {

using Words = std::set<std::string, std::less<>>;

std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// What bash offers in `folder` for `veilnote-cli WORDS...`, the cursor at the
// end of the last word.
Words Completions(const TempDir& folder, const std::vector<std::string>& words) {
    std::string script = "cd " + Quoted(folder.Path()) +
                         " || exit 1\n"
                         "source " +
                         Quoted(VEILNOTE_COMPLETION_PATH) +
                         " || exit 1\n"
                         // Only a real completion may change its options.
                         "compopt() { :; }\n"
                         "COMP_WORDS=(veilnote-cli";
    for (const std::string& word : words) {
        script += ' ' + Quoted(word);
    }
    script += ")\nCOMP_CWORD=" + std::to_string(words.size()) +
              "\n_veilnote_cli\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n";
    WriteText(folder / ".complete.sh", script);
    Words offered;
    FILE* bash = ::popen(("bash " + Quoted(folder / ".complete.sh")).c_str(), "r");
    EXPECT_NE(bash, nullptr);
    std::string line;
    for (int c; (c = std::fgetc(bash)) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
        } else if (!line.empty()) {
            offered.insert(std::exchange(line, {}));
        }
    }
    EXPECT_EQ(::pclose(bash), 0);
    return offered;
}

TEST(CompletionTest, OffersTheCommandTablesNamesOptionsAndFlags) {
    const TempDir folder;
    WriteText(folder / "note.txt", "");  // a value for options, never an operand

    Words commands{"--help", "--version"};
    for (const Command& command : ToolCommands()) {
        commands.emplace(command.name);
    }
    EXPECT_EQ(Completions(folder, {""}), commands);

    for (const Command& command : ToolCommands()) {
        const std::string name(command.name);
        SCOPED_TRACE(name);
        Words options{"--help"};
        options.insert(command.options.begin(), command.options.end());
        options.insert(command.flags.begin(), command.flags.end());
        EXPECT_EQ(Completions(folder, {name, "-"}), options);

        EXPECT_FALSE(Completions(folder, {name, ""}).contains("note.txt"));
        for (const std::string_view option : command.options) {
            EXPECT_TRUE(Completions(folder, {name, std::string(option), ""}).contains("note.txt"))
                << option << " takes a file";
        }
        for (const std::string_view flag : command.flags) {
            EXPECT_FALSE(Completions(folder, {name, std::string(flag), ""}).contains("note.txt"))
                << flag << " takes no value";
        }
    }
}

}  // namespace
