#pragma once
// The timer component. A timer owned by a form stops when the form closes.
#include "platform/Forms.h"

#include <memory>

class QTimer;

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    QString ClassName() const override { return QStringLiteral("TTimer"); }

    int Interval() const { return m_interval; }
    void SetInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool e);

    TNotifyEvent OnTimer;

private:
    void Restart();
    int m_interval = 1000;
    bool m_enabled = true;
    std::unique_ptr<QTimer> m_timer;
};
