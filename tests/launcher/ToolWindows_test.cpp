#include "PerfSampler.h"
#include "frmPrefTest.h"
#include "frmReadMe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

TEST(PerfSampler, FirstSampleSetsBothBarsAndCountsPerHundredMilliseconds) {
    PerfSampler s;
    // A window that lasted 150 ms still divides by 100.
    EXPECT_EQ(s.addSample(123456), 1235);
    EXPECT_EQ(s.MaxIndex, 1235);
    EXPECT_EQ(s.label(), "Index: 1235  Maxindex: 1235");
    // Halves go to even: 250 / 100 = 2.5 -> 2; average (1235 + 2) / 2 = 618.5 -> 618.
    EXPECT_EQ(s.addSample(250), 618);
    EXPECT_EQ(s.MaxIndex, 1235);
    EXPECT_EQ(s.Samples, 2);
    EXPECT_EQ(s.Total, 1237);
}

TEST(PerfSampler, AverageRestartsPastOneHundredThousandButMaxStays) {
    PerfSampler s;
    s.addSample(6000000);                   // 60000
    EXPECT_EQ(s.addSample(5000000), 55000); // total 110000 > 100000: restart
    EXPECT_EQ(s.Total, 0);
    EXPECT_EQ(s.Samples, 0);
    EXPECT_EQ(s.MaxIndex, 60000);
    EXPECT_EQ(s.addSample(1000), 10);
    EXPECT_EQ(s.MaxIndex, 60000);
}

TEST(PerfTestWindow, CloseEndsTheRunningTestAndTheWindow) {
    frmPrefTest w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Performance Test"));
    EXPECT_TRUE(w.Running);
    QTimer::singleShot(450, &w, [&] { w.Command1->click(); });
    QElapsedTimer t;
    t.start();
    const int result = w.exec();
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(w.Running);
    EXPECT_GE(w.figures().MaxIndex, 1);
    EXPECT_GE(w.figures().MaxIndex, w.figures().Index);
    EXPECT_LT(t.elapsed(), 5000);
}

TEST(PerfTestWindow, ClosingTheWindowItselfStopsTheLoop) {
    frmPrefTest w;
    QTimer::singleShot(250, &w, [&] { w.close(); });
    EXPECT_EQ(w.exec(), QDialog::Accepted);
    EXPECT_FALSE(w.Running);
}

TEST(ReadMeWindow, ShowsTheTitleLineAndTheNote) {
    const std::string text = readMeText();
    EXPECT_EQ(text.rfind("Vantorix ReadMe!\r\n", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    frmReadMe w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vantorix - ReadMe!"));
    EXPECT_TRUE(w.Text1->isReadOnly());
    EXPECT_TRUE(w.Text1->toPlainText().startsWith(QStringLiteral("Vantorix ReadMe!\n")));
    EXPECT_EQ(w.Command1->text(), QStringLiteral("&Close"));
    w.show();
    w.Command1->click();
    EXPECT_FALSE(w.isVisible());
}
