#include "virtual_sign_panel.h"

#include <algorithm>
#include <cmath>

#include <QLabel>
#include <QVBoxLayout>

#include "led_view.h"
#include "protocol/page_record.h"
#include "sign/page_time.h"
#include "sign/sign_face.h"

namespace velora {

VirtualSignPanel::VirtualSignPanel(Clock& clock, QWidget* parent)
    : QGroupBox(QStringLiteral("Insegna virtuale"), parent),
      m_view(new LedView(clock, this)),
      m_caption(new QLabel(QStringLiteral("Nessuna pagina ricevuta."), this)) {
    setObjectName(QStringLiteral("InsegnaVirtuale"));
    m_view->setAccessibleName(QStringLiteral("Insegna virtuale"));
    m_caption->setObjectName(QStringLiteral("InsegnaVirtualePagina"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 0, Qt::AlignHCenter);
    layout->addWidget(m_caption);
    // Until an upload arrives the sign is dark, as wide as it can be.
    m_view->showDark(kWidestSignChars);
    m_next.setSingleShot(true);
    connect(&m_next, &QTimer::timeout, this,
            [this] { showPage(m_page % static_cast<int>(m_records.size()) + 1); });
}

double VirtualSignPanel::pageSeconds(const std::vector<std::uint8_t>& record) {
    const std::optional<DecodedRecord> decoded = decodePageRecord(record);
    if (!decoded) return 1.0;
    return scrollSteps(decoded->page) * kScrollStepSeconds + signPauseSeconds(decoded->page.pause);
}

void VirtualSignPanel::play(std::vector<std::vector<std::uint8_t>> records) {
    m_records = std::move(records);
    m_next.stop();
    if (m_records.empty()) {
        m_page = 0;
        m_view->showDark(kWidestSignChars);
        m_caption->setText(QStringLiteral("Nessuna pagina ricevuta."));
        return;
    }
    showPage(1);
}

void VirtualSignPanel::showPage(int index) {
    m_page = index;
    const std::vector<std::uint8_t>& record = m_records[static_cast<std::size_t>(index - 1)];
    m_view->showRecord(record);
    m_view->replay();
    m_caption->setText(QStringLiteral("Pagina %1 di %2").arg(index).arg(m_records.size()));
    m_next.start(static_cast<int>(std::lround(pageSeconds(record) * 1000)));
}

}  // namespace velora
