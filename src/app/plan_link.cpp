#include "plan_link.h"

#include <utility>

#include "files/file_menu.h"
#include "files/sequence_file.h"

namespace velora {
namespace {

// How often the exchange's end is looked for; the exchange itself keeps its own time-out.
constexpr int kWatchMs = 50;

}  // namespace

PlanLink::PlanLink(InvDat& link, Services& services, std::function<void()> showLink,
                   std::function<void(const std::function<void()>&)> run)
    : m_link(link), m_services(services), m_showLink(std::move(showLink)), m_run(std::move(run)) {
    m_watch.setInterval(kWatchMs);
    connect(&m_watch, &QTimer::timeout, this, [this] { step(); });
}

void PlanLink::send(const std::string& path, std::function<void(bool)> done) {
    if (m_stage != Stage::Idle) {
        done(false);
        return;
    }
    m_done = std::move(done);
    const ReadSequence read = readSequence(m_services.files, path);
    if (!read.file) {
        // PlanWindow says the send was not confirmed; the file's own fault it reads itself.
        finish(false);
        return;
    }
    m_sequence = Modulo1();
    applySequenceFile(m_sequence, *read.file);
    m_showLink();
    m_link.lendSequence(&m_sequence);
    m_stage = Stage::Connect;
    m_run([this] { m_link.Command7.click(); });
    m_watch.start();
}

void PlanLink::step() {
    if (m_link.outcome() == InvDat::Outcome::Waiting) return;
    if (m_stage == Stage::Connect) {
        if (m_link.exchange() != InvDat::Exchange::Connect ||
            m_link.outcome() != InvDat::Outcome::Done || !m_link.CMDINVIO.enabled()) {
            finish(false);
            return;
        }
        m_stage = Stage::Upload;
        m_run([this] { m_link.CMDINVIO.click(); });
        return;
    }
    // After the upload the clock may follow; "Inviato" says the sign confirmed the pages.
    finish(m_link.Trasm_OK.visible());
}

void PlanLink::finish(bool confirmed) {
    m_watch.stop();
    if (m_stage != Stage::Idle) m_link.lendSequence(nullptr);
    m_stage = Stage::Idle;
    if (m_done) {
        auto done = std::move(m_done);
        m_done = nullptr;
        done(confirmed);
    }
}

}  // namespace velora
