#pragma once
// Turning a value into the text a memo shows, by format kind.

#include "platform/RegionalSettings.h"
#include "report/ReportTypes.h"
#include "script/Script.h"

#include <QString>

namespace report {

// The plain text of a value: strings as they are, integers in decimal, floats with up to
// 15 significant digits and the regional decimal separator, Booleans "True"/"False", Null "".
QString PlainText(const script::Variant& value, const platform::RegionalSettings& rs);

// The value formatted with a display format; a value that does not convert to the
// format's kind falls back to its plain text.
QString FormatValue(const script::Variant& value, const TrpFormat& format,
                    const platform::RegionalSettings& rs);

// "#,##0.00"-style picture format with the regional separators.
QString FormatPicture(long double value, const QString& picture, const platform::RegionalSettings& rs);

// One printf-style conversion (%d, %f, %n, %g, %e, %m, %x, %s with width and precision),
// applied to an extended number. False when the format is not one of those.
bool FormatPrintf(long double value, const QString& format, const platform::RegionalSettings& rs,
                  QString& out);

// Date-time (days since 30 December 1899) with a pattern of d, dd, m, mm, mmm, mmmm, yy,
// yyyy, h, hh, n, nn, s, ss; quoted parts are copied. An empty pattern gives dd.mm.yyyy.
QString FormatDateTime(long double days, const QString& pattern);

// The regional settings the engine formats with (the system's, read once).
const platform::RegionalSettings& EngineRegionalSettings();

} // namespace report
