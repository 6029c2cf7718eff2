#pragma once

#include <cstdint>
#include <vector>

#include <QGroupBox>
#include <QTimer>

#include "core/clock.h"

class QLabel;

namespace velora {

class LedView;

// The face of the virtual sign in the transmission window: the pages of the last upload it
// received, in LED dots, one after the other and over again as the sign shows them. A page stays
// for its pause in seconds (at least one), after its scrolling row has run through once.
class VirtualSignPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit VirtualSignPanel(Clock& clock, QWidget* parent = nullptr);

    // Starts showing the records of an upload from its first page.
    void play(std::vector<std::vector<std::uint8_t>> records);

    LedView* view() const { return m_view; }
    // "Pagina 2 di 3", or what the sign has received so far.
    QLabel* caption() const { return m_caption; }

    // Seconds a received page stays on the sign.
    static double pageSeconds(const std::vector<std::uint8_t>& record);

private:
    void showPage(int index);

    std::vector<std::vector<std::uint8_t>> m_records;
    LedView* m_view;
    QLabel* m_caption;
    QTimer m_next;
    int m_page = 0;  // 1-based; 0 before the first upload
};

}  // namespace velora
