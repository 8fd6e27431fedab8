#include "sheet/SheetTemplate.h"

#include "report/EngineTexts.h"
#include "report/ViewPainter.h"

#include <QByteArray>

namespace sheet {

using namespace report;

// Generated at build time from assets/sheet/logo.png.
extern const unsigned char kLogoPng[];
extern const unsigned int kLogoPngSize;

namespace {

constexpr Extended kMargin = 10.00125L;
constexpr Extended kLabelLeft = 14, kLabelWidth = 530.48825L;
constexpr Extended kCodeLeft = 544.33333334L, kCodeWidth = 54.48825L;
constexpr Extended kValueLeft = 599, kValueWidth = 102.48825L;
constexpr Extended kRowHeight = 30.89765L;

TrpFont Arial(int size, int style = 0, TColor color = clBlack) {
    TrpFont f;
    f.Name = QStringLiteral("Arial");
    f.Size = size;
    f.Style = style;
    f.Color = color;
    f.Charset = RUSSIAN_CHARSET;
    return f;
}

struct MemoSpec {
    const char* Name;
    Extended Left, Top, Width, Height;
    TrpFont Font;
    TrpFrameTypes Frame;
    TrpHAlign HAlign;
    TrpVAlign VAlign;
    QString Text;
};

TrpMemoView* AddMemo(TrpReportPage& page, const MemoSpec& s) {
    auto memo = std::make_unique<TrpMemoView>();
    memo->SetName(QString::fromUtf8(s.Name));
    memo->SetBounds(s.Left, s.Top, s.Width, s.Height);
    memo->SetFont(s.Font);
    memo->FrameRef().Typ = s.Frame;
    memo->SetHAlign(s.HAlign);
    memo->SetVAlign(s.VAlign);
    memo->SetText(s.Text);
    return static_cast<TrpMemoView*>(page.Add(std::move(memo)));
}

QStringList ScriptLines() {
    QStringList lines{QStringLiteral("begin")};
    for (const SheetRow& row : SheetRows())
        lines << QStringLiteral("  if Pos( '%1', <Формула>) = 0 then %2.Memo.Text := '';")
                     .arg(QString::fromUtf8(row.Code), QString::fromUtf8(row.ValueCell));
    lines << QStringLiteral("end.");
    return lines;
}

} // namespace

const std::array<SheetRow, 9>& SheetRows() {
    static const std::array<SheetRow, 9> rows = {{
        {"ТБ", "meType", "Memo2", "Memo3", "Базовая ставка страхового тарифа (в рублях):", 135,
         &SheetTexts::TB},
        {"КТ", "meHome", "Memo5", "Memo6", "Коэффициент территории использования ТС:", 166.04166667L,
         &SheetTexts::KT},
        {"КБМ", "meClass", "Memo8", "Memo9", "Коэффициент класса страхователя:", 197.08333333L,
         &SheetTexts::KBM},
        {"КО", "mePeople", "Memo11", "Memo12",
         "Коэффициент количества лиц, допущенных к управлению:", 228.125L, &SheetTexts::KO},
        {"КВС", "meAge", "Memo14", "Memo15", "Коэффициент возраста и стажа водителя:", 259.16666666L,
         &SheetTexts::KVS},
        {"КМ", "mePower", "Memo17", "Memo18",
         "Коэффициент мощности двигателя легкового автомобиля:", 290.20833333L, &SheetTexts::KM},
        {"КС", "mePeriod", "Memo20", "Memo21",
         "Коэффициент периода использования транспортного средства:", 321.25L, &SheetTexts::KS},
        {"КП", "meTime", "Memo23", "Memo24", "Коэффициент срока страхования:", 352.29166666L,
         &SheetTexts::KP},
        {"КН", "meDop", "Memo26", "Memo27", "Коэффициент страхового тарифа:", 383.33333333L, &SheetTexts::KN},
    }};
    return rows;
}

QImage SheetLogo() {
    static const QImage logo = QImage::fromData(kLogoPng, int(kLogoPngSize), "PNG");
    return logo;
}

void BuildSheet(TrpReport& r) {
    r.ClearPages();
    r.Variables().Clear();
    r.ReportOptions.Name = QStringLiteral("Расчет стоимости ОСАГО");
    r.DotMatrixReport = false;
    r.IniFile = QStringLiteral("\\Software\\Tarifon");
    r.PreviewOptions.AllowEdit = false;
    r.PreviewOptions.Buttons = pbPrint | pbLoad | pbSave | pbExport | pbZoom | pbPageSetup | pbTools;
    r.PreviewOptions.OutlineExpand = false;
    r.PreviewOptions.Zoom = 1.0;
    r.PrintOptions.Printer = rpGet("prDefault");
    r.ScriptLanguage = QStringLiteral("PascalScript");
    r.EngineOptions.DestroyForms = true;

    TrpVariables& v = r.Variables();
    v.Add(QStringLiteral(" Коэффициенты"));
    for (const SheetRow& row : SheetRows())
        v.Add(QString::fromUtf8(row.Code));
    v.Add(QStringLiteral(" Итоги"));
    v.Add(QStringLiteral("Формула"), script::Variant("'Т = 0'"));
    v.Add(QStringLiteral("Сумма"), script::Variant("0"));
    r.ScriptText = ScriptLines();

    TrpReportPage& page = *r.AddPage();
    page.SetName(QStringLiteral("Page"));
    page.SetOrientation(poPortrait);
    page.SetPaperSize(TrpReportPage::A4);
    page.SetLeftMargin(kMargin);
    page.SetRightMargin(kMargin);
    page.SetTopMargin(kMargin);
    page.SetBottomMargin(kMargin);
    page.SetFont(Arial(10));

    AddMemo(page, {"Memo1", 38, 99, 642.5201L, 18.89765L, Arial(14, fsBold), 0, haCenter, vaTop,
                   QStringLiteral("Расчет стоимости ОСАГО")});
    for (const SheetRow& row : SheetRows()) {
        TrpMemoView* label =
            AddMemo(page, {row.LabelCell, kLabelLeft, row.Top, kLabelWidth, kRowHeight, Arial(12), ftAll,
                           haLeft, vaCenter, QString::fromUtf8(row.Caption)});
        label->SetGapX(20);
        AddMemo(page, {row.CodeCell, kCodeLeft, row.Top, kCodeWidth, kRowHeight, Arial(12), ftAll, haCenter,
                       vaCenter, QString::fromUtf8(row.Code)});
        TrpMemoView* value = AddMemo(
            page, {row.ValueCell, kValueLeft, row.Top, kValueWidth, kRowHeight, Arial(12, fsBold), ftAll,
                   haCenter, vaCenter, QLatin1Char('[') + QString::fromUtf8(row.Code) + QLatin1Char(']')});
        value->DisplayFormatRef().Kind = fkText;
        value->DisplayFormatRef().DecimalSeparator = QStringLiteral(",");
    }
    TrpMemoView* box = AddMemo(page, {"Memo4", 111, 429, 489, 101, Arial(14), ftAll, haCenter, vaTop,
                                      QStringLiteral("Размер страховой премии (Т):")});
    box->SetGapY(3);
    AddMemo(page,
            {"meFormula", 117, 462, 476, 28, Arial(14), 0, haCenter, vaTop, QStringLiteral("[Формула]")});
    AddMemo(page, {"meResult", 117, 492, 476, 28, Arial(14, 0, clRed), 0, haCenter, vaTop,
                   QStringLiteral("[Сумма]")});

    TrpMemoView* header =
        AddMemo(page, {"Memo7", -2.449374412499992L, -2, 723, 81, Arial(8), ftBottom, haCenter, vaTop,
                       QStringList{QStringLiteral("Подготовлено в программе:"),
                                   QStringLiteral("<b>") + kProductLine + QStringLiteral("</b>"), kMakerLine,
                                   kBusinessLine}
                           .join(QStringLiteral("\r\n"))});
    header->SetAllowHTMLTags(true);
    header->SetAlign(baCenter);

    auto picture = std::make_unique<TrpPictureView>();
    picture->SetName(QStringLiteral("Picture1"));
    picture->SetBounds(15, 7, 96, 62);
    picture->SetCenter(true);
    picture->SetStretched(false);
    picture->SetPicture(SheetLogo());
    page.Add(std::move(picture));

    TrpMemoView* web = AddMemo(page, {"Memo10", 234.26381L, 52.22047L, 125.52L, 17,
                                      Arial(8, fsUnderline, clBlue), 0, haCenter, vaTop, kWebAddress});
    web->SetURL(kWebLink);
    TrpMemoView* mail = AddMemo(page, {"Memo13", 367.07081L, 52.22047L, 118.52L, 17,
                                       Arial(8, fsUnderline, clBlue), 0, haCenter, vaTop, kSupportAddress});
    mail->SetURL(QStringLiteral("mailto:") + kSupportAddress);
}

std::unique_ptr<TrpReport> CreateSheetReport() {
    auto r = std::make_unique<TrpReport>();
    BuildSheet(*r);
    return r;
}

void FillSheetVariables(TrpReport& r, const SheetTexts& texts) {
    for (const SheetRow& row : SheetRows())
        r.Variables().SetVariableValue(QString::fromUtf8(row.Code),
                                       QuotedText(texts.*row.Text).toStdString());
    r.Variables().SetVariableValue(QStringLiteral("Формула"), QuotedText(texts.Formula).toStdString());
    r.Variables().SetVariableValue(QStringLiteral("Сумма"), QuotedText(texts.Premium).toStdString());
}

PrepareResult PrepareSheet(TrpReport& r, const SheetTexts& texts) {
    FillSheetVariables(r, texts);
    PrepareResult result;
    result.Ok = r.Prepare(true);
    result.Errors = r.Errors();
    result.Message = r.LastErrorMessage();
    return result;
}

QImage RenderSheetPage(TrpReport& r, int page, double zoom) {
    return RenderPreparedPage(r, page, zoom);
}

} // namespace sheet
