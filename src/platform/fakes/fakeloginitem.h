#pragma once

#include "platform/loginitem.h"

// Records what was asked; fails with `failure` while it is set.
class FakeLoginItem : public LoginItem
{
public:
    Result registerItem() override { return answer(true); }
    Result unregisterItem() override { return answer(false); }

    [[nodiscard]] bool isRegistered() const { return m_isRegistered; }
    [[nodiscard]] int calls() const { return m_calls; }
    void setFailure(const QString &message) { m_failure = message; }

private:
    Result answer(bool registering)
    {
        ++m_calls;
        if (!m_failure.isEmpty())
            return {false, m_failure};
        m_isRegistered = registering;
        return {true, {}};
    }

    QString m_failure;
    bool m_isRegistered = false;
    int m_calls = 0;
};
