#pragma once

#include <functional>
#include <string>

#include <QObject>
#include <QTimer>

#include "core/modulo1.h"
#include "core/services.h"
#include "link/inv_dat.h"

namespace velora {

// The plan's sends in the program: the sequence file that is due goes out through the
// transmission window's own exchanges (Connetti, then INVIO DATI) on the port chosen there, lent
// to the window for the time of the send, so the user sees its progress and its journal.
class PlanLink : public QObject {
    Q_OBJECT

public:
    // `showLink` shows the transmission window; `run` runs a click under that window's binder.
    PlanLink(InvDat& link, Services& services, std::function<void()> showLink,
             std::function<void(const std::function<void()>&)> run);

    // Sends the file at `path`; `done` learns whether the sign confirmed it.
    void send(const std::string& path, std::function<void(bool confirmed)> done);

private:
    enum class Stage { Idle, Connect, Upload };
    void step();
    void finish(bool confirmed);

    InvDat& m_link;
    Services& m_services;
    std::function<void()> m_showLink;
    std::function<void(const std::function<void()>&)> m_run;
    std::function<void(bool)> m_done;
    Modulo1 m_sequence;
    Stage m_stage = Stage::Idle;
    QTimer m_watch;
};

}  // namespace velora
