#pragma once

#include "platform/idletimesource.h"

#include <QList>

#include <utility>

// Answers with the idle time the test sets, at once, or holds the questions
// until the test answers them (as a bus service would, late).
class FakeIdleTimeSource : public IdleTimeSource
{
public:
    void queryIdleSeconds(Answer answer) override
    {
        ++m_queries;
        if (m_isDeferred)
            m_pending.append(std::move(answer));
        else
            answer(m_seconds);
    }

    void setIdleSeconds(double seconds) { m_seconds = seconds; }
    void setDeferred(bool deferred) { m_isDeferred = deferred; }
    // Answers every held question with the current idle time.
    void answerPending()
    {
        const QList<Answer> pending = std::exchange(m_pending, {});
        for (const Answer &answer : pending)
            answer(m_seconds);
    }

    [[nodiscard]] int queries() const { return m_queries; }
    [[nodiscard]] qsizetype pendingCount() const { return m_pending.size(); }

private:
    double m_seconds = 0;
    bool m_isDeferred = false;
    QList<Answer> m_pending;
    int m_queries = 0;
};
