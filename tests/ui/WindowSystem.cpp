// What the window system holds for the calculator's windows (names, icon name, type, owner),
// read back with xprop from a private X server, as title bars and task bars read them.
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <map>
#include <string>

#include "support/VirtualDisplay.h"
#include "ui/OSAGO_Calc.h"

namespace {

struct XWindow {
    QString Id;
    std::map<QString, QString> Properties; // name -> value as xprop prints it, quotes removed
    std::map<QString, QString> Types;      // name -> property type
    // UTF-8, so a failing comparison prints readable text.
    std::string operator[](const char* name) const {
        const auto it = Properties.find(QString::fromLatin1(name));
        return it == Properties.end() ? std::string() : it->second.toStdString();
    }
    QString Type(const char* name) const {
        const auto it = Types.find(QString::fromLatin1(name));
        return it == Types.end() ? QString() : it->second;
    }
};

const char* const kProperties[] = {"_NET_WM_NAME", "WM_NAME", "_NET_WM_ICON_NAME", "_NET_WM_WINDOW_TYPE",
                                   "WM_TRANSIENT_FOR"};

// xprop runs in a UTF-8 locale, so the names come out as text whatever the test's locale.
XWindow ReadWindow(const QString& display, const QString& id) {
    XWindow window{id, {}, {}};
    QStringList args{QStringLiteral("-display"), display, QStringLiteral("-id"), id};
    for (const char* p : kProperties)
        args << QString::fromLatin1(p);
    QProcess xprop;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    xprop.setProcessEnvironment(env);
    xprop.start(QStringLiteral("xprop"), args);
    if (!xprop.waitForFinished(10000))
        return window;
    // "NAME(TYPE) = value", "NAME(WINDOW): window id # 0x..." or "NAME:  not found."
    static const QRegularExpression property(QStringLiteral("^(\\w+)(?:\\((\\w+)\\))?(?: = |: )(.*)$"));
    for (const QString& line : QString::fromUtf8(xprop.readAllStandardOutput()).split('\n')) {
        const QRegularExpressionMatch m = property.match(line);
        QString value = m.captured(3);
        if (!m.hasMatch() || value.trimmed() == QStringLiteral("not found."))
            continue;
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        else if (value.startsWith(QStringLiteral("window id # ")))
            value = value.mid(12);
        window.Properties[m.captured(1)] = value;
        window.Types[m.captured(1)] = m.captured(2);
    }
    return window;
}

} // namespace

TEST(WindowSystem, CaptionsTaskBarEntryAndOwnersAsTheDesktopSeesThem) {
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
        << "xprop is not installed (scripts/install-deps)";
    testsupport::VirtualDisplay display;
    ASSERT_TRUE(display.Started()) << display.Error().toStdString();

    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display.Name());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QStringLiteral(TARIFON_WINDOW_PROBE), {});
    ASSERT_TRUE(probe.waitForStarted(10000));

    // The windows in the order the probe opens them, with the caption each must show as it is:
    // nothing appended by the toolkit.
    const struct {
        const char* Name;
        QString Caption;
    } expected[] = {
        {"main", TfmOSAGO_Calc::WindowCaption},    {"class", QStringLiteral("Класс страхователя")},
        {"note", QStringLiteral("Information")},   {"preview", QStringLiteral("Расчет стоимости ОСАГО")},
        {"save", QStringLiteral("Сохранить как")},
    };
    std::map<QString, XWindow> windows;
    for (const auto& e : expected) {
        SCOPED_TRACE(e.Name);
        QByteArray line;
        while (!line.contains('\n') && probe.waitForReadyRead(30000))
            line += probe.readLine();
        const QList<QByteArray> words = line.trimmed().split(' ');
        ASSERT_EQ(words.size(), 2) << line.toStdString();
        ASSERT_EQ(words[0], e.Name);
        const XWindow w = ReadWindow(display.Name(), QString::fromLatin1(words[1]));
        EXPECT_EQ(w["_NET_WM_NAME"], e.Caption.toStdString());
        // The legacy name can carry Cyrillic only where the locale lets it be encoded (not
        // in the C locale, where title bars read the name above).
        if (w.Type("WM_NAME") != QStringLiteral("STRING")) {
            EXPECT_EQ(w["WM_NAME"], e.Caption.toStdString());
        }
        windows[QString::fromLatin1(e.Name)] = w;
        probe.write("\n");
    }
    EXPECT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(probe.exitCode(), 0);

    // The calculator is an ordinary top-level window of its own, its task bar entry titled
    // with the program's name; the class table belongs to it.
    const XWindow& main = windows[QStringLiteral("main")];
    EXPECT_EQ(main["_NET_WM_WINDOW_TYPE"], "_NET_WM_WINDOW_TYPE_NORMAL");
    EXPECT_EQ(main["WM_TRANSIENT_FOR"], "");
    EXPECT_EQ(main["_NET_WM_ICON_NAME"], "-= Тарифон 2.0 =-");
    EXPECT_EQ(windows[QStringLiteral("class")]["WM_TRANSIENT_FOR"], main.Id.toStdString());
}
