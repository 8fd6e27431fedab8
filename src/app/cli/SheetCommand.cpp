#include "app/cli/SheetCommand.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <cstdio>

#include "app/cli/QuoteOptions.h"
#include "app/cli/SheetOutputs.h"
#include "platform/AtomicFile.h"
#include "platform/FontSetup.h"
#include "platform/RegionalSettings.h"
#include "sheet/SheetTemplate.h"

namespace cli {
namespace {

constexpr int UsageStatus = 2;
constexpr int FailureStatus = 1;

struct SheetOptions {
    std::string Png, Trp, Pdf;
    double Zoom = 1.0;
    std::vector<std::string> QuoteArgs;
};

// Takes the sheet's own options out of the argument list; the rest are quote options.
SheetOptions ParseSheetOptions(const std::vector<std::string>& args) {
    SheetOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) {
            if (i + 1 >= args.size())
                throw UsageError{std::string(name) + ": a value is missing"};
            return args[++i];
        };
        if (a == "--png")
            o.Png = value("--png");
        else if (a == "--trp")
            o.Trp = value("--trp");
        else if (a == "--pdf")
            o.Pdf = value("--pdf");
        else if (a == "--zoom") {
            const std::string z = value("--zoom");
            char* end = nullptr;
            o.Zoom = std::strtod(z.c_str(), &end);
            if (end == z.c_str() || *end || !(o.Zoom >= 0.25 && o.Zoom <= 8))
                throw UsageError{"--zoom: '" + z + "' is not a zoom factor; accepted values: 0.25 to 8"};
        } else
            o.QuoteArgs.push_back(a);
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
        static int argc = 1;
        static char name[] = "tarifon-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
        platform::InstallApplicationFonts();
    }
    std::unique_ptr<QGuiApplication> app;
};

bool SavePng(const QImage& image, const std::string& path, std::string& error) {
    // Encoded in memory first, so that a failed write gives the system's reason.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        error = "cannot make the picture for '" + path + "': " + writer.errorString().toStdString();
        return false;
    }
    const QString reason = platform::WriteFileAtomically(QString::fromStdString(path), buffer.data());
    if (!reason.isEmpty()) {
        error = "cannot write '" + path + "': " + reason.toStdString();
        return false;
    }
    return true;
}

int Fail(const char* command, const std::string& message, int status) {
    std::fprintf(stderr, "tarifon-cli %s: %s\n", command, message.c_str());
    return status;
}

} // namespace

std::string SheetHelp() {
    return "Usage: tarifon-cli sheet [quote options] (--png FILE [--zoom Z] | --trp FILE | --pdf FILE)...\n"
           "Prepares the calculation sheet for the case and writes it:\n"
           "  --png FILE   the page as a picture (A4 at 96 dpi for zoom 1)\n"
           "  --zoom Z     zoom factor of the picture, 0.25 to 8 (default 1)\n"
           "  --trp FILE   the prepared report, to be opened again later\n"
           "  --pdf FILE   the sheet as a PDF document\n"
           "The quote options are those of `tarifon-cli quote --help`.\n"
           "\n"
           "Usage: tarifon-cli open FILE.trp --png OUT.png [--zoom Z]\n"
           "Loads a prepared report and draws its first page.\n";
}

int SheetCommand(const std::vector<std::string>& args) {
    SheetOptions options;
    QuoteAnswers answers;
    try {
        options = ParseSheetOptions(args);
        answers = ParseQuoteOptions(options.QuoteArgs);
    } catch (const UsageError& e) {
        return Fail("sheet", e.Message, UsageStatus);
    }
    if (answers.Help) {
        std::fputs(SheetHelp().c_str(), stdout);
        return 0;
    }
    if (options.Png.empty() && options.Trp.empty() && options.Pdf.empty())
        return Fail("sheet", "nothing to write; give --png, --trp or --pdf (see --help)", UsageStatus);

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
    if (!options.Png.empty() &&
        !SavePng(sheet::RenderSheetPage(*report, 0, options.Zoom), options.Png, error))
        return Fail("sheet", error, FailureStatus);
    if (!options.Trp.empty() && !SavePreparedReport(*report, options.Trp, error))
        return Fail("sheet", error, FailureStatus);
    if (!options.Pdf.empty() && !SavePdf(*report, options.Pdf, error))
        return Fail("sheet", error, FailureStatus);
    return 0;
}

int OpenCommand(const std::vector<std::string>& args) {
    std::string file, png;
    double zoom = 1.0;
    try {
        SheetOptions o = ParseSheetOptions(args);
        if (o.QuoteArgs.size() != 1 || o.QuoteArgs[0].rfind("--", 0) == 0 || o.Png.empty())
            throw UsageError{
                "give one prepared report file and --png OUT.png (see tarifon-cli sheet --help)"};
        file = o.QuoteArgs[0];
        png = o.Png;
        zoom = o.Zoom;
    } catch (const UsageError& e) {
        return Fail("open", e.Message, UsageStatus);
    }
    GuiSession gui;
    auto report = sheet::CreateSheetReport();
    std::string error;
    if (!LoadPreparedReport(*report, file, error))
        return Fail("open", error, UsageStatus);
    if (!SavePng(sheet::RenderSheetPage(*report, 0, zoom), png, error))
        return Fail("open", error, FailureStatus);
    return 0;
}

} // namespace cli
