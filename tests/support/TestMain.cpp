// main() for tests without a QApplication: the locale comes from the environment, as in the
// programs (the toolkit sets it there), so the suite's run under the Russian locale means it.
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
