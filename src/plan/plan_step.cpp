#include "plan_step.h"

#include "files/file_menu.h"
#include "files/sequence_file.h"

namespace velora {

PlanStep planStep(const Plan& plan, const DateTime& moment, const Files& files,
                  const SentRecord& record, const std::string& key, bool force, Modulo1& sequence) {
    PlanStep step;
    step.due = dueAt(plan, moment);
    if (!step.due) return step;
    const ReadSequence read = readSequence(files, step.due->file);
    if (!read.file) {
        step.kind = PlanStep::Kind::Unreadable;
        step.problem = read.problem;
        return step;
    }
    applySequenceFile(sequence, *read.file);
    step.digest = uploadDigest(sequence);
    const auto last = record.lastConfirmed(key);
    step.kind = !force && last && last->digest == step.digest ? PlanStep::Kind::AlreadyShown
                                                              : PlanStep::Kind::Send;
    return step;
}

}  // namespace velora
