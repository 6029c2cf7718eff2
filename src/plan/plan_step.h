#pragma once

#include <optional>
#include <string>

#include "core/files.h"
#include "core/modulo1.h"
#include "plan.h"
#include "sent_record.h"

namespace velora {

// What a run of the plan does for one sign at one moment: send the sequence that is due only when
// the sign has not confirmed that very sequence already. velora-cli's `send --plan` and the
// window "Programma" both decide here.
struct PlanStep {
    enum class Kind {
        NothingDue,    // the plan has nothing for this moment
        AlreadyShown,  // the sign confirmed this sequence last
        Send,          // send `due.file`
        Unreadable,    // the file that is due cannot be read: `problem` says why
    };
    Kind kind = Kind::NothingDue;
    std::optional<Due> due;
    std::string digest;   // of the upload of the due sequence
    std::string problem;  // Windows-1252, as readSequence words it
};

// `force` sends even what the sign already shows. `sequence` receives the due sequence when it
// could be read.
PlanStep planStep(const Plan& plan, const DateTime& moment, const Files& files,
                  const SentRecord& record, const std::string& key, bool force, Modulo1& sequence);

}  // namespace velora
