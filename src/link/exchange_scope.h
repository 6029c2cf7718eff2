#pragma once

#include "core/controls.h"

namespace velora {

// Marks a transmission as running and puts the flag and the pointer back as they were however
// it ends; the one keeper of "an exchange is being sent". Nested scopes leave the outer one's.
class ExchangeScope {
public:
    ExchangeScope(bool& exchanging, int& pointer)
        : m_exchanging(exchanging),
          m_pointer(pointer),
          m_wasExchanging(exchanging),
          m_oldPointer(pointer) {
        m_exchanging = true;
        m_pointer = Button::kHourglass;
    }
    ~ExchangeScope() {
        m_exchanging = m_wasExchanging;
        m_pointer = m_wasExchanging ? m_oldPointer : Button::kDefaultPointer;
    }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    bool& m_exchanging;
    int& m_pointer;
    bool m_wasExchanging;
    int m_oldPointer;
};

}  // namespace velora
