// Save and Open of prepared report files through the window's commands, and the page
// settings dialog with its units from the settings store.
#include "PreviewFixtures.h"

#include "platform/RegionalSettings.h"
#include "preview/PageSetupDialog.h"
#include "preview/PreviewForm.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <optional>

#include "support/WriteFailures.h"

using namespace preview;
using namespace report;
using namespace previewtest;
using namespace writefailures;

namespace {

// A number as the dialog shows it: with the regional decimal separator.
QString Dec(const char* text) {
    return QString::fromUtf8(text).replace(
        QLatin1Char(','), QString::fromStdString(platform::RegionalSettings::System().DecimalSeparator));
}

class PreviewFiles : public ::testing::Test {
protected:
    void SetUp() override {
        FReport = PreparedSheet();
        FReport->OnShowError = [this](const QString&, const QString& text) { FErrors << text; };
        FForm = std::make_unique<TrpPreviewForm>(*FReport);
    }

    QTemporaryDir FDir;
    std::unique_ptr<TrpReport> FReport;
    std::unique_ptr<TrpPreviewForm> FForm;
    QStringList FErrors;
};

TEST_F(PreviewFiles, SaveForcesTheExtensionAndOpenBringsThePagesBack) {
    const QString original = PageTexts(*FReport);
    ASSERT_TRUE(original.contains(QStringLiteral("6 075 рублей")));
    FForm->GetSaveFileName = [this](QWidget*, const QString&) {
        return FDir.filePath(QStringLiteral("лист"));
    };
    FForm->Save();
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join(QLatin1Char('\n')).toStdString();
    const QString saved = FDir.filePath(QStringLiteral("лист.trp"));
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_FALSE(QFile::exists(FDir.filePath(QStringLiteral("лист"))));

    // Another case replaces the pages; opening the file shows the saved sheet again.
    sheet::SheetTexts other = LorryTexts();
    other.Premium = QStringLiteral("1 234 рублей");
    sheet::PrepareSheet(*FReport, other);
    FForm->Preview()->Refresh();
    ASSERT_TRUE(PageTexts(*FReport).contains(QStringLiteral("1 234 рублей")));
    FForm->GetOpenFileName = [&](QWidget*, const QString&) { return saved; };
    FForm->Open();
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(PageTexts(*FReport), original);
    EXPECT_EQ(FForm->Preview()->PageCount(), 1);

    // A name that already ends in ".trp" (any case) is kept.
    EXPECT_EQ(TrpPreviewForm::ForceExtension(QStringLiteral("a.TRP")), QStringLiteral("a.TRP"));
    EXPECT_EQ(TrpPreviewForm::ForceExtension(QStringLiteral("a.pdf")), QStringLiteral("a.pdf.trp"));
}

TEST_F(PreviewFiles, BadFilesShowAnErrorAndLoseNothing) {
    const QString original = PageTexts(*FReport);
    const QString garbage = FDir.filePath(QStringLiteral("garbage.trp"));
    {
        QFile f(garbage);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<preparedreport><previewpages>");
    }
    const QString folder = FDir.filePath(QStringLiteral("папка.trp"));
    ASSERT_TRUE(QDir().mkdir(folder));
    // Said in Russian, whatever the reader's fault and the system's language.
    const struct {
        QString File;
        const char* Message;
    } bad[] = {
        {garbage, "Не удалось открыть файл garbage.trp\nНеверный формат файла"},
        {FDir.filePath(QStringLiteral("missing.trp")),
         "Не удалось открыть файл missing.trp\nТакого файла нет"},
        {folder, "Не удалось открыть файл папка.trp\nЭто папка, а не файл"},
    };
    for (const auto& b : bad) {
        FErrors.clear();
        EXPECT_FALSE(FForm->LoadFromFile(b.File));
        EXPECT_EQ(FErrors, QStringList{QString::fromUtf8(b.Message)});
    }
    EXPECT_EQ(PageTexts(*FReport), original);
    EXPECT_EQ(FForm->Preview()->PageCount(), 1);

    // Saving into a folder that does not exist fails with a message and writes nothing.
    const QString nowhere = FDir.filePath(QStringLiteral("no/such/folder/sheet"));
    FErrors.clear();
    EXPECT_FALSE(FForm->SaveToFile(nowhere));
    EXPECT_EQ(FErrors.size(), 1);
    EXPECT_FALSE(QFile::exists(nowhere + QStringLiteral(".trp")));
}

TEST_F(PreviewFiles, AFailedSaveShowsTheFileAndTheReasonAndKeepsTheOldFile) {
    for (Failure failure : {Failure::SizeLimit, Failure::FullDisk}) {
        SCOPED_TRACE(Name(failure));
        SmallFilesystem disk(8); // the old file takes one page, the sheet needs more than the rest
        const QString folder = failure == Failure::FullDisk ? disk.Path() : FDir.path();
        const QString target = folder + QStringLiteral("/лист.trp");
        {
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("previous contents");
        }
        FErrors.clear();
        {
            std::optional<FileSizeLimit> limit;
            if (failure == Failure::SizeLimit)
                limit.emplace(4096);
            EXPECT_FALSE(FForm->SaveToFile(target));
        }
        ASSERT_EQ(FErrors.size(), 1);
        EXPECT_TRUE(FErrors[0].contains(QStringLiteral("лист.trp")) && FErrors[0].contains(Reason(failure)))
            << FErrors[0].toStdString();
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("previous contents"));
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("лист.trp")});
    }
}

TEST(PageSettings, LengthsFollowTheUnitsOfTheSettingsStore) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("engine.ini"));
    struct Case {
        QVariant units;
        TrpUnits expected;
        const char* width; // A4 width shown
    } cases[] = {
        {QVariant(), TrpUnits::Centimetres, "21"},
        {1, TrpUnits::Inches, "8,27"},
        {2, TrpUnits::Centimetres, "21"},
        {3, TrpUnits::Centimetres, "21"},
        {QStringLiteral("x"), TrpUnits::Centimetres, "21"},
    };
    for (const Case& c : cases) {
        {
            QSettings s(ini, QSettings::IniFormat);
            s.clear();
            if (c.units.isValid())
                s.setValue(QStringLiteral("Form.TrpDesignerForm/Units"), c.units);
        }
        EXPECT_EQ(ReadDesignerUnits(ini), c.expected) << c.units.toString().toStdString();
        auto r = PreparedSheet();
        r->IniFile = ini;
        TrpPageSetupDialog dialog(*r, 0);
        EXPECT_EQ(dialog.Units(), c.expected);
        EXPECT_EQ(dialog.WidthEdit()->text(), Dec(c.width)) << c.units.toString().toStdString();
    }
    EXPECT_EQ(FormatLength(10, TrpUnits::Centimetres), QStringLiteral("1"));
    EXPECT_EQ(FormatLength(12.5L, TrpUnits::Centimetres), Dec("1,25"));
    EXPECT_NEAR(double(*ParseLength(QStringLiteral("1.5"), TrpUnits::Inches)), 38.1, 1e-9);
    EXPECT_FALSE(ParseLength(QStringLiteral("abc"), TrpUnits::Centimetres).has_value());
}

TEST(PageSettings, CurrentPageOrEveryPage) {
    QTemporaryDir dir;
    auto r = PreparedSheet();
    r->IniFile = dir.filePath(QStringLiteral("engine.ini"));
    const QString texts = PageTexts(*r);
    {
        TrpPageSetupDialog dialog(*r, 0);
        dialog.LandscapeButton()->setChecked(true);
        EXPECT_EQ(dialog.WidthEdit()->text(), Dec("29,70"));
        dialog.MarginEdit(0)->setText(QStringLiteral("2"));
        dialog.Apply();
    }
    TrpReportPage* page = r->PreviewPages().Page(0);
    EXPECT_EQ(page->Orientation(), poLandscape);
    EXPECT_NEAR(double(page->PaperWidth()), 297, 1e-6);
    EXPECT_NEAR(double(page->LeftMargin()), 20, 1e-6);
    EXPECT_EQ(PageTexts(*r), texts) << "the page keeps its objects";
    // The template is untouched by a change of the current page.
    EXPECT_EQ(r->Pages(0)->Orientation(), poPortrait);

    {
        TrpPageSetupDialog dialog(*r, 0);
        dialog.SetApplyToAll(true);
        dialog.PortraitButton()->setChecked(true);
        dialog.MarginEdit(1)->setText(QStringLiteral("3"));
        dialog.Apply();
    }
    EXPECT_EQ(r->Pages(0)->Orientation(), poPortrait);
    EXPECT_NEAR(double(r->Pages(0)->TopMargin()), 30, 1e-6);
    EXPECT_NEAR(double(r->PreviewPages().Page(0)->TopMargin()), 30, 1e-6);
    EXPECT_EQ(PageTexts(*r), texts);

    // Margins that leave no printable area are refused.
    TrpPageSetupDialog dialog(*r, 0);
    dialog.MarginEdit(0)->setText(QStringLiteral("15"));
    dialog.MarginEdit(2)->setText(QStringLiteral("15"));
    EXPECT_FALSE(dialog.Settings().has_value());
}

} // namespace
