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
#include "app/cli/QuoteOptions.h"
#include "app/cli/SheetMail.h"
#include "app/cli/SheetOutputs.h"
#include "platform/AtomicFile.h"
#include "platform/FontSetup.h"
#include "platform/RegionalSettings.h"
#include "platform/TempFiles.h"
#include "report/PageSearch.h"
#include "report/PreviewPages.h"
#include "sheet/SheetTemplate.h"

namespace cli {
namespace {

constexpr int UsageStatus = 2;
constexpr int FailureStatus = 1;

struct SheetOptions {
    std::string Png, Trp, Html;
    std::array<std::string, SheetFilterCount> Filtered;   // in the order of SheetFilterOptions
    std::array<std::string, PictureFormatCount> Pictures; // in the order of PictureOptions
    double Zoom = 1.0;
    MailOptions Mail;
    std::vector<std::string> QuoteArgs;
};

// Takes the sheet's own options out of the argument list; the rest are quote options.
SheetOptions ParseSheetOptions(const std::vector<std::string>& args) {
    SheetOptions o;
    const std::pair<const char*, std::string SheetOptions::*> files[] = {
        {"--png", &SheetOptions::Png}, {"--trp", &SheetOptions::Trp}, {"--html", &SheetOptions::Html}};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const size_t eq = a.find('=');
        const std::string name = a.substr(0, eq);
        auto value = [&] {
            if (eq != std::string::npos)
                return a.substr(eq + 1);
            if (i + 1 >= args.size())
                throw UsageError{name + ": a value is missing"};
            return args[++i];
        };
        bool taken = false;
        for (const auto& [option, field] : files)
            if (name == option) {
                o.*field = value();
                taken = true;
            }
        for (int k = 0; k < SheetFilterCount; ++k)
            if (name == SheetFilterOptions[k].Option) {
                o.Filtered[k] = value();
                taken = true;
            }
        for (int k = 0; k < PictureFormatCount; ++k)
            if (name == PictureOptions[k]) {
                o.Pictures[k] = value();
                taken = true;
            }
        if (taken || TakeMailOption(name, value, o.Mail))
            continue;
        if (name == "--zoom") {
            const std::string z = value();
            const std::optional<double> zoom = ParsePlainNumber(z);
            if (!zoom || !(*zoom >= 0.25 && *zoom <= 8))
                throw UsageError{"--zoom: '" + z + "' is not a zoom factor; accepted values: 0.25 to 8"};
            o.Zoom = *zoom;
        } else {
            o.QuoteArgs.push_back(a);
        }
    }
    return o;
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

// Writes one output under its typed name; the writer returns an empty string or the reason.
template <class Writer> bool WriteOutput(const std::string& typed, Writer write, std::string& error) {
    OutputFile file(typed);
    const QString target = file.Target(error);
    if (target.isEmpty())
        return false;
    if (const std::string why = write(target); !why.empty()) {
        error = FileMessage("cannot write", typed, why);
        return false;
    }
    return file.Commit(error);
}

std::string SavePng(const QImage& image, const QString& path) {
    // Encoded in memory first, so that a failed write gives the system's reason.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return "cannot make the picture: " + writer.errorString().toStdString();
    return platform::WriteFileAtomically(path, buffer.data()).toStdString();
}

int Fail(const char* command, const std::string& message, int status) {
    std::fprintf(stderr, "tarifon-cli %s: %s\n", command, message.c_str());
    return status;
}

} // namespace

std::string SheetHelp() {
    std::string filters;
    for (const SheetFilterOption& f : SheetFilterOptions) {
        std::string head = std::string(f.Option) + " FILE";
        head.resize(std::max<size_t>(head.size() + 1, 13), ' '); // the column of the texts above
        filters += "  " + head + f.Help + "\n";
    }
    return "Usage: tarifon-cli sheet [quote options] (--png FILE [--zoom Z] | --trp FILE | --FORMAT "
           "FILE)...\n"
           "Prepares the calculation sheet for the case and writes it:\n"
           "  --png FILE   the page as a picture (A4 at 96 dpi for zoom 1)\n"
           "  --zoom Z     zoom factor of the picture, 0.25 to 8 (default 1)\n"
           "  --trp FILE   the prepared report, to be opened again later\n" +
           filters +
           "  --html FILE  the sheet as an HTML page, its logo in the folder beside it (sheet.html\n"
           "               gives sheet.files/img0.jpg)\n"
           "  --bmp, --jpeg, --tiff, --gif FILE\n"
           "               the page as the export menu writes it: at 96 dpi, the page number before\n"
           "               the format's extension (sheet.bmp gives sheet.1.bmp)\n" +
           MailHelp() +
           "The files are written as the calculator window's export menu writes them, without its dialogs.\n"
           "The quote options are those of `tarifon-cli quote --help`.\n"
           "\n"
           "Usage: tarifon-cli open FILE.trp (--png OUT.png [--zoom Z] | --find TEXT)\n"
           "Loads a prepared report and draws its first page, or with --find prints the numbers of\n"
           "the pages that hold TEXT (any letter case), one per line; status 1 when none does.\n";
}

int SheetCommand(const std::vector<std::string>& args) {
    SheetOptions options;
    QuoteAnswers answers;
    try {
        options = ParseSheetOptions(args);
        answers = ParseQuoteOptions(options.QuoteArgs);
        CheckMailOptions(options.Mail);
    } catch (const UsageError& e) {
        return Fail("sheet", e.Message, UsageStatus);
    }
    if (answers.Help) {
        std::fputs(SheetHelp().c_str(), stdout);
        return 0;
    }
    const auto given = [](const auto& names) {
        return std::any_of(std::begin(names), std::end(names),
                           [](const std::string& p) { return !p.empty(); });
    };
    if (options.Png.empty() && options.Trp.empty() && options.Html.empty() && !given(options.Filtered) &&
        !given(options.Pictures) && !options.Mail.Given())
        return Fail("sheet",
                    "nothing to write; give --png, --trp, a file format such as --pdf or --mail (see --help)",
                    UsageStatus);

    calc::Calculator calculator(SystemSeparators());
    for (const std::string& note : ApplyAnswers(answers, calculator))
        std::fprintf(stderr, "tarifon-cli sheet: note: %s\n", note.c_str());
    calculator.pResultEnterPage();

    GuiSession gui;
    auto report = sheet::CreateSheetReport();
    const sheet::PrepareResult prepared = sheet::PrepareSheet(*report, TextsOf(calculator.Result()));
    if (!prepared.Ok)
        return Fail("sheet", prepared.Message.toStdString(), FailureStatus);

    std::string error;
    const bool written =
        (options.Png.empty() || WriteOutput(
                                    options.Png,
                                    [&](const QString& path) {
                                        return SavePng(sheet::RenderSheetPage(*report, 0, options.Zoom),
                                                       path);
                                    },
                                    error)) &&
        (options.Trp.empty() ||
         WriteOutput(
             options.Trp, [&](const QString& path) { return SavePreparedReport(*report, path); }, error));
    if (!written)
        return Fail("sheet", error, FailureStatus);
    for (int k = 0; k < SheetFilterCount; ++k)
        if (!options.Filtered[k].empty() &&
            !WriteOutput(
                options.Filtered[k],
                [&](const QString& path) {
                    return SaveWithSheetFilter(*report, SheetFilterOptions[k].MenuIndex, path);
                },
                error))
            return Fail("sheet", error, FailureStatus);
    if (!options.Html.empty()) {
        // Not through a stand-in name: the page's links name its pictures folder after the file.
        const std::string why =
            SaveWithSheetFilter(*report, HtmlMenuIndex, QFile::decodeName(options.Html.c_str()));
        if (!why.empty())
            return Fail("sheet", FileMessage("cannot write", options.Html, why), FailureStatus);
    }
    for (int format = 0; format < PictureFormatCount; ++format)
        if (!options.Pictures[format].empty() &&
            !WriteOutput(
                PicturePageName(options.Pictures[format], format),
                [&](const QString& path) { return SavePicture(*report, format, path); }, error))
            return Fail("sheet", error, FailureStatus);
    if (options.Mail.Given())
        if (const std::string why = MailSheet(*report, options.Mail); !why.empty())
            return Fail("sheet", "the mail was not sent: " + why, FailureStatus);
    return 0;
}

// Takes "--find TEXT" (or "--find=TEXT") out of the arguments.
std::optional<std::string> TakeFindOption(std::vector<std::string>& args) {
    std::optional<std::string> text;
    for (size_t i = 0; i < args.size();) {
        if (args[i] == "--find" || args[i].rfind("--find=", 0) == 0) {
            const bool inline_ = args[i].size() > 6;
            if (!inline_ && i + 1 >= args.size())
                throw UsageError{"--find: a value is missing"};
            text = inline_ ? args[i].substr(7) : args[i + 1];
            if (text->empty())
                throw UsageError{"--find: the text is empty"};
            args.erase(args.begin() + long(i), args.begin() + long(i) + (inline_ ? 1 : 2));
        } else {
            ++i;
        }
    }
    return text;
}

int OpenCommand(const std::vector<std::string>& givenArgs) {
    std::string file, png;
    std::optional<std::string> find;
    double zoom = 1.0;
    try {
        std::vector<std::string> args = givenArgs;
        find = TakeFindOption(args);
        SheetOptions o = ParseSheetOptions(args);
        if (o.QuoteArgs.size() != 1 || o.QuoteArgs[0].rfind("--", 0) == 0 || (o.Png.empty() && !find))
            throw UsageError{
                "give one prepared report file and --png OUT.png or --find TEXT (see tarifon-cli "
                "sheet --help)"};
        file = o.QuoteArgs[0];
        png = o.Png;
        zoom = o.Zoom;
    } catch (const UsageError& e) {
        return Fail("open", e.Message, UsageStatus);
    }
    GuiSession gui;
    auto report = sheet::CreateSheetReport();
    // A long file is read through the page cache, as the preview would.
    report->EngineOptions.UseFileCache = true;
    std::string error;
    InputFile input(file);
    const QString name = input.Open(error);
    if (name.isEmpty())
        return Fail("open", error, UsageStatus);
    if (const std::string why = LoadPreparedReport(*report, name); !why.empty())
        return Fail("open", FileMessage("cannot read", file, why), UsageStatus);
    if (!png.empty()) {
        const QImage page = sheet::RenderSheetPage(*report, 0, zoom);
        if (page.isNull())
            return Fail("open", "the page is too large to draw as one picture at this zoom", FailureStatus);
        if (!WriteOutput(
                png, [&](const QString& path) { return SavePng(page, path); }, error))
            return Fail("open", error, FailureStatus);
    }
    if (!find)
        return 0;
    // The pages (from 1) whose texts hold the text, letter case aside, one a line; status 1
    // when there are none, as grep does.
    const std::vector<int> pages =
        report::PagesWithText(report->PreviewPages(), QString::fromStdString(*find), Qt::CaseInsensitive);
    for (int page : pages)
        std::printf("%d\n", page + 1);
    if (std::fflush(stdout) != 0)
        return FailureStatus;
    return pages.empty() ? 1 : 0;
}

} // namespace cli
