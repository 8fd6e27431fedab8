// tarifon-cli: the calculator without its window, for dealers' scripts and for checking results.
#include <csignal>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "app/cli/Messages.h"
#include "app/cli/QuoteOptions.h"
#include "app/cli/QuoteReport.h"
#include "app/cli/SheetCommand.h"
#include "platform/RegionalSettings.h"

namespace {

constexpr int UsageStatus = 2;

const char* const Usage =
    "Usage: tarifon-cli <command> [options]\n"
    "Commands:\n"
    "  quote   compute a premium and print the result page (see: tarifon-cli quote --help)\n"
    "  sheet   write the calculation sheet of a quote as PNG, prepared report or PDF (see: tarifon-cli sheet "
    "--help)\n"
    "  open    write a prepared report file in the formats of sheet, or list the pages that hold a\n"
    "          text (--find TEXT) (see: tarifon-cli sheet --help)\n"
    "Options: --help (this text), --version (the program's version)\n";

calc::Separators SystemSeparators() {
    const platform::RegionalSettings s = platform::RegionalSettings::System();
    return {s.DecimalSeparator, s.ThousandSeparator};
}

int Quote(const std::vector<std::string>& args) {
    cli::QuoteAnswers answers;
    try {
        answers = cli::ParseQuoteOptions(args);
    } catch (const cli::UsageError& e) {
        std::fprintf(stderr, "tarifon-cli quote: %s\n", cli::Printable(e.Message, true).c_str());
        return UsageStatus;
    }
    if (answers.Help) {
        std::fputs(cli::QuoteOptionsHelp().c_str(), stdout);
        return 0;
    }
    calc::Calculator calculator(SystemSeparators());
    const std::vector<std::string> notes = cli::ApplyAnswers(answers, calculator);
    calculator.pResultEnterPage();
    if (answers.Json) {
        std::fputs(cli::QuoteJson(calculator, notes).c_str(), stdout);
    } else {
        for (const std::string& note : notes)
            std::fprintf(stderr, "tarifon-cli quote: note: %s\n", note.c_str());
        std::fputs(cli::QuoteText(calculator).c_str(), stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    // Over a file size limit a write fails with its reason (EFBIG) and is reported, instead of
    // the signal ending the run without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::fputs(Usage, args.empty() ? stderr : stdout);
        return args.empty() ? UsageStatus : 0;
    }
    if (args[0] == "--version") {
        std::fputs("tarifon-cli " TARIFON_VERSION "\n", stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    // Memory that runs out anywhere below ends the run with a message, not an abort.
    try {
        if (command == "quote")
            return Quote(args);
        if (command == "sheet")
            return cli::SheetCommand(args);
        if (command == "open")
            return cli::OpenCommand(args);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tarifon-cli %s: out of memory: the report is too large\n", command.c_str());
        return 1;
    }
    std::fprintf(stderr, "tarifon-cli: unknown command %s\n%s", cli::Quoted(command).c_str(), Usage);
    return UsageStatus;
}
