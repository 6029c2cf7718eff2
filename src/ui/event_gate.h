#pragma once

#include <QObject>

namespace velora {

// Every handler of the program runs to its end before the next event is handled. While a model
// handler runs (a preview, an upload, a modal dialog it opened), timer ticks are dropped and other
// outside events wait; `reopened` tells their owners to catch up.
class EventGate : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    bool isOpen() const { return m_depth == 0; }

    // Marks a model handler as running for the lifetime of the guard.
    class Guard {
    public:
        explicit Guard(EventGate& gate) : m_gate(gate) { ++m_gate.m_depth; }
        ~Guard() {
            if (--m_gate.m_depth == 0) Q_EMIT m_gate.reopened();
        }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        EventGate& m_gate;
    };

Q_SIGNALS:
    void reopened();

private:
    int m_depth = 0;
};

}  // namespace velora
