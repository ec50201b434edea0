#pragma once

#include "PerfSampler.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

// The bar area: the best index in red, the current one in yellow over it, and the figures.
class PerfBars : public QWidget {
public:
    explicit PerfBars(QWidget* parent = nullptr);
    const PerfSampler* sampler = nullptr;

protected:
    void paintEvent(QPaintEvent* e) override;
};

// "Performance Test": counts loop passes per 100 ms until Close, then closes; modal.
class frmPrefTest : public QDialog {
public:
    explicit frmPrefTest(QWidget* parent = nullptr);

    PerfBars* Picture1 = nullptr;
    QPushButton* Command1 = nullptr;
    QTimer* Timer1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;

    bool Running = false;
    const PerfSampler& figures() const { return sampler_; }

    void Form_Load();
    void Timer1_Timer();
    void StartTest();
    void Command1_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    PerfSampler sampler_;
    bool inTest_ = false;
};
