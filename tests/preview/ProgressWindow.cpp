// The progress window of long jobs: layout, counting, the disabled owner and Cancel.
#include "preview/ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace preview;

namespace {

QWidget* ShownProgressWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && dynamic_cast<TrpProgressWindow*>(w))
            return w;
    return nullptr;
}

TEST(Progress, WindowLayoutCountingAndCancel) {
    QWidget main;
    main.show();
    QApplication::setActiveWindow(&main);
    InstallProgressWindow();
    exports::TrpProgress p;
    p.Execute(3, QStringLiteral("Подождите, пожалуйста"), true, false);
    QWidget* w = ShownProgressWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->size(), QSize(271, 101));
    auto* label = w->findChild<QLabel*>();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->y(), 15);
    EXPECT_EQ(label->text(), QStringLiteral("Подождите, пожалуйста"));
    EXPECT_FALSE(w->findChild<QPushButton*>()->isVisibleTo(w));
    for (int i = 0; i < 5; ++i)
        p.Tick();
    EXPECT_EQ(p.Position(), 3); // never past the maximum
    EXPECT_EQ(w->findChild<QProgressBar*>()->value(), 3);
    EXPECT_FALSE(main.isEnabled()); // the active window waits while the progress shows
    p.Hide();
    EXPECT_TRUE(main.isEnabled());
    EXPECT_FALSE(ShownProgressWindow());

    p.Execute(0, QStringLiteral("Экспорт страницы 1"), false, true);
    ASSERT_TRUE(ShownProgressWindow());
    EXPECT_EQ(ShownProgressWindow()->findChild<QLabel*>()->y(), 35);
    ShownProgressWindow()->findChild<QPushButton*>()->click();
    EXPECT_TRUE(p.Terminated());
    EXPECT_FALSE(ShownProgressWindow());
    exports::SetProgressViewFactory(nullptr);
}

} // namespace
