#include "app/cli/SheetCommand.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <array>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unistd.h>

#include "app/cli/FileNames.h"
#include "app/cli/Messages.h"
#include "app/cli/QuoteOptions.h"
#include "app/cli/SheetMail.h"
#include "app/cli/SheetOutputs.h"
#include "platform/AtomicFile.h"
#include "platform/FontSetup.h"
#include "platform/RegionalSettings.h"
#include "platform/TempFiles.h"
#include "report/PageSearch.h"
#include "report/PreparedPageStore.h"
#include "sheet/SheetTemplate.h"

namespace cli {
namespace {

constexpr int UsageStatus = 2;
constexpr int FailureStatus = 1;

// The command line of `sheet` and `open`: the output options, --find for `open`, the rest
// (quote options, the file to open) as typed.
struct CommandLine {
    OutputOptions Outputs;
    std::optional<std::string> Find;
    bool Help = false;
    std::vector<std::string> Rest;
};

CommandLine ParseCommandLine(const std::vector<std::string>& args, bool open) {
    CommandLine c;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const size_t eq = a.find('=');
        const std::string name = a.rfind("--", 0) == 0 ? a.substr(0, eq) : a;
        auto value = [&] {
            std::string v;
            if (eq != std::string::npos)
                v = a.substr(eq + 1);
            else if (i + 1 < args.size())
                v = args[++i];
            else
                throw UsageError{name + ": a value is missing"};
            if (v.empty())
                throw UsageError{name + ": the value is empty"};
            return v;
        };
        if (name == "--list-options" || (open && (name == "--help" || name == "-h"))) {
            if (eq != std::string::npos)
                throw UsageError{name + " takes no value"};
            (name == "--list-options" ? c.Outputs.ListOptions : c.Help) = true;
        } else if (open && name == "--find") {
            if (c.Find)
                throw UsageError{"--find is given twice"};
            c.Find = value();
        } else if (!TakeOutputOption(name, value, c.Outputs)) {
            c.Rest.push_back(a);
        }
    }
    return c;
}

calc::Separators SystemSeparators() {
    const platform::RegionalSettings s = platform::RegionalSettings::System();
    return {s.DecimalSeparator, s.ThousandSeparator};
}

sheet::SheetTexts TextsOf(const calc::ResultTexts& r) {
    sheet::SheetTexts t;
    for (const sheet::SheetRow& row : sheet::SheetRows()) {
        for (int code = 0; code < calc::TariffCodeCount; ++code)
            if (calc::TariffCodes[code] == std::string_view(row.Code))
                t.*row.Text = QString::fromStdString(r.Values[code]);
    }
    t.Formula = QString::fromStdString(r.Formula);
    t.Premium = QString::fromStdString(r.Premium);
    return t;
}

// What the libraries say while the tool runs (a picture plug-in's warning about a file, say):
// kept, and shown only when the run fails, so that a successful run prints nothing.
std::vector<std::string>& LibraryMessages() {
    static std::vector<std::string> messages;
    return messages;
}
std::size_t DroppedMessages = 0;

void CollectMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "tarifon-cli: %s\n", Printable(text.toStdString()).c_str());
        return; // Qt ends the process
    }
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    // A file with thousands of pictures must not fill the memory with their warnings.
    if (LibraryMessages().size() < 20)
        LibraryMessages().push_back(text.toStdString());
    else
        ++DroppedMessages;
}

// Drawing and font measuring need a GUI application; a command line has no display.
struct GuiSession {
    GuiSession() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        // Without a session (a script, a cron job) there is no runtime folder; Qt would warn
        // and fall back to a shared one. A private one lives as long as the run.
        // Its name carries the process id, so that the sweep of what killed runs left removes it.
        platform::RemoveStaleTempFiles(QDir::tempPath());
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            std::string folder = QDir::tempPath().toStdString() + "/tarifon-cli-runtime-" +
                                 std::to_string(::getpid()) + "-XXXXXX";
            if (::mkdtemp(folder.data())) {
                runtime = QString::fromStdString(folder);
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
            }
        }
        qInstallMessageHandler(CollectMessage);
        static int argc = 1;
        static char name[] = "tarifon-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
        // The tool speaks English, system error texts included.
        std::setlocale(LC_MESSAGES, "C");
        platform::InstallApplicationFonts();
        UseEnglishEngineTexts();
    }
    ~GuiSession() {
        app.reset();
        if (!runtime.isEmpty()) {
            QDir(runtime).removeRecursively();
            qunsetenv("XDG_RUNTIME_DIR");
        }
    }
    std::unique_ptr<QGuiApplication> app;
    QString runtime;
};

int Fail(const char* command, const std::string& message, int status) {
    std::fprintf(stderr, "tarifon-cli %s: %s\n", command, Printable(message, true).c_str());
    for (const std::string& m : LibraryMessages())
        std::fprintf(stderr, "tarifon-cli %s: library message: %s\n", command, Printable(m).c_str());
    if (DroppedMessages > 0)
        std::fprintf(stderr, "tarifon-cli %s: %zu more library messages\n", command, DroppedMessages);
    return status;
}

} // namespace

std::string SheetHelp() {
    return "Usage: tarifon-cli sheet [quote options] OUTPUT...\n"
           "Prepares the calculation sheet for the case and writes each OUTPUT:\n" +
           OutputsHelp() +
           "The files are written as the calculator window's export menu writes them, without its dialogs.\n"
           "The quote options are those of `tarifon-cli quote --help`.\n"
           "\n"
           "Usage: tarifon-cli open FILE.trp (OUTPUT... | --find TEXT)\n"
           "Loads a prepared report and writes each OUTPUT as above, or with --find prints the numbers\n"
           "of the pages that hold TEXT (any letter case), one per line; status 1 when none does.\n"
           "Status 2: the command line or the input file is not usable, and nothing was written.\n";
}

int SheetCommand(const std::vector<std::string>& args) {
    CommandLine line;
    QuoteAnswers answers;
    try {
        line = ParseCommandLine(args, false);
        answers = ParseQuoteOptions(line.Rest);
        CheckMailOptions(line.Outputs.Mail);
    } catch (const UsageError& e) {
        return Fail("sheet", e.Message, UsageStatus);
    }
    const OutputOptions& outputs = line.Outputs;
    if (answers.Help) {
        std::fputs(SheetHelp().c_str(), stdout);
        return 0;
    }
    if (!outputs.Any() && !outputs.ListOptions)
        return Fail("sheet",
                    "nothing to write; give --png, --trp, a file format such as --pdf or --mail (see --help)",
                    UsageStatus);

    GuiSession gui;
    if (outputs.ListOptions) {
        std::fputs(OptionList().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : FailureStatus;
    }
    calc::Calculator calculator(SystemSeparators());
    auto report = sheet::CreateSheetReport();
    try {
        CheckOutputs(outputs);
        const std::vector<std::string> notes = ApplyAnswers(answers, calculator);
        calculator.pResultEnterPage();
        const sheet::PrepareResult prepared = sheet::PrepareSheet(*report, TextsOf(calculator.Result()));
        if (!prepared.Ok)
            return Fail("sheet", prepared.Message.toStdString(), FailureStatus);
        SelectedPages(outputs, report->PreviewPages().Count());
        for (const std::string& note : notes)
            std::fprintf(stderr, "tarifon-cli sheet: note: %s\n", note.c_str());
    } catch (const UsageError& e) {
        return Fail("sheet", e.Message, UsageStatus);
    }
    if (const std::string error = WriteOutputs(*report, outputs); !error.empty())
        return Fail("sheet", error, FailureStatus);
    return 0;
}

int OpenCommand(const std::vector<std::string>& args) {
    CommandLine line;
    try {
        line = ParseCommandLine(args, true);
        CheckMailOptions(line.Outputs.Mail);
        for (const std::string& a : line.Rest)
            if (a.rfind("-", 0) == 0)
                throw UsageError{"unknown option " + Quoted(a.substr(0, a.find('='))) +
                                 "; see tarifon-cli sheet --help"};
        if (!line.Help && !line.Outputs.ListOptions) {
            if (line.Rest.size() != 1)
                throw UsageError{"give one prepared report file (see tarifon-cli sheet --help)"};
            if (!line.Outputs.Any() && !line.Find)
                throw UsageError{"nothing to write; give an output such as --pdf FILE, or --find TEXT (see "
                                 "tarifon-cli sheet --help)"};
        }
    } catch (const UsageError& e) {
        return Fail("open", e.Message, UsageStatus);
    }
    if (line.Help) {
        std::fputs(SheetHelp().c_str(), stdout);
        return 0;
    }
    const OutputOptions& outputs = line.Outputs;
    GuiSession gui;
    if (outputs.ListOptions) {
        std::fputs(OptionList().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : FailureStatus;
    }
    const std::string& file = line.Rest.front();
    auto report = sheet::CreateSheetReport();
    // A long file is read through the page cache, as the preview would.
    report->EngineOptions.UseFileCache = true;
    std::string error;
    InputFile input(file);
    try {
        CheckOutputs(outputs, file);
        const QString name = input.Open(error);
        if (name.isEmpty())
            return Fail("open", error, UsageStatus);
        if (const std::string why = LoadPreparedReport(*report, name); !why.empty())
            return Fail("open", FileMessage("cannot read", file, why), UsageStatus);
        SelectedPages(outputs, report->PreviewPages().Count());
    } catch (const UsageError& e) {
        return Fail("open", e.Message, UsageStatus);
    }
    if (const std::string why = WriteOutputs(*report, outputs); !why.empty())
        return Fail("open", why, FailureStatus);
    if (!line.Find)
        return 0;
    // The pages (from 1) whose texts hold the text, letter case aside, one a line; status 1
    // when there are none, as grep does.
    const std::vector<int> pages = report::PagesWithText(
        report->PreviewPages(), QString::fromStdString(*line.Find), Qt::CaseInsensitive);
    for (int page : pages)
        std::printf("%d\n", page + 1);
    if (std::fflush(stdout) != 0)
        return FailureStatus;
    return pages.empty() ? 1 : 0;
}

} // namespace cli
