#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "modulo1.h"

namespace velora {

// The sequence's history: every change of the stored sequence is one step that can be taken back
// and done again. A step keeps the slots it changed, before and after, packed into bytes, and the
// few values that go with the sequence (page count, row width, file, the page shown), so that a
// step over a full store of 200 pages costs some tens of kilobytes at most, and one that changed
// a single page a few dozen bytes.
//
// Any operation on the store becomes a step by opening a scope over it:
//
//     HistoryScope step(history, state, shownPage, "Elimina pagina 3");
//     ...change the store...
//
// The step ends when the scope does (or at its commit, with the page it leaves shown). Scopes
// nest: one opened while another is open joins it, and only the outermost makes the step.
class SequenceHistory {
public:
    // What a step restores beside the slots.
    struct Scalars {
        std::uint8_t pageCount = 0;
        std::uint8_t rowChars = 0;
        std::uint8_t gapOpened = 0;
        int shownPage = 1;
        std::string filePath;

        bool operator==(const Scalars&) const = default;
    };

    static constexpr std::size_t kDefaultLimit = 100;

    explicit SequenceHistory(std::size_t limit = kDefaultLimit) : m_limit(limit) {}

    // Notes the store as it stands before a change. A begin inside an open step only counts one
    // level deeper: a step that runs another one inside is still one step.
    void begin(const Modulo1& state, int shownPage);
    // Ends the step begun: keeps what changed under `name`, and forgets the steps that could be
    // done again. Nothing is kept when nothing of the sequence changed. Returns whether a step
    // was kept; an inner commit only closes its level and keeps nothing yet.
    bool commit(const Modulo1& state, int shownPage, std::string name);
    // Forgets a step begun, keeping the store as it is. Inside another step it only closes its
    // level: the outer step keeps what changed.
    void cancel();
    bool recording() const { return m_open.has_value(); }
    // Steps open one inside another: 0 when none is.
    int depth() const { return m_depth; }

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // The name of the step undo or redo would act on; empty when there is none.
    std::string undoName() const;
    std::string redoName() const;

    // Puts the store back as it was before the last step done, and answers the page then shown;
    // nothing when there is no step to take back.
    std::optional<int> undo(Modulo1& state);
    // Does the last step taken back again, answering the page it left shown.
    std::optional<int> redo(Modulo1& state);

    std::size_t size() const { return m_steps.size(); }
    std::size_t limit() const { return m_limit; }
    void clear();

    // The sequence as last opened or saved, to tell whether it has changed since.
    void markClean(const Modulo1& state);
    bool modified(const Modulo1& state) const;

    // Bytes the kept steps hold, their bookkeeping included.
    std::size_t bytesHeld() const;

    // The sequence as a file would hold it (page count, row width, the stored pages), in bytes:
    // two sequences pack alike exactly when they would be saved alike.
    static std::string packSequence(const Modulo1& state);

private:
    struct Step {
        std::string name;
        int firstSlot = 0;   // the slots firstSlot..firstSlot+count-1 changed
        std::string before;  // those slots packed, as they were
        std::string after;   // and as the step left them
        Scalars scalarsBefore;
        Scalars scalarsAfter;
    };
    struct Open {
        std::vector<std::string> slots;  // every slot packed on its own
        Scalars scalars;
    };

    static Scalars scalarsOf(const Modulo1& state, int shownPage);
    static void apply(Modulo1& state, int firstSlot, const std::string& packed,
                      const Scalars& scalars);
    // Puts the step's slots and the values it changed as they were before it, or after it.
    static void applyChanged(Modulo1& state, const Step& step, bool after);

    std::size_t m_limit;
    std::deque<Step> m_steps;
    std::size_t m_done = 0;  // steps 0..m_done-1 are done; the rest can be done again
    std::optional<Open> m_open;
    int m_depth = 0;
    std::string m_clean;
};

// One step of the history as a scope: begins at construction, ends at `commit`, `cancel` or, at
// the latest, when the scope ends, also through an exception (what changed until then stays one
// step that can be taken back). Nested scopes make one step, the outermost's.
class HistoryScope {
public:
    // `shownPage` answers the page shown, as the step begins and as it ends; `ended` runs after
    // the step ended, kept or not.
    HistoryScope(SequenceHistory& history, const Modulo1& state, std::function<int()> shownPage,
                 std::string name, std::function<void()> ended = {});
    ~HistoryScope();
    HistoryScope(const HistoryScope&) = delete;
    HistoryScope& operator=(const HistoryScope&) = delete;

    // Ends the step, leaving `shownPage` shown (the page shown now when not given); whether a
    // step was kept.
    bool commit(std::optional<int> shownPage = std::nullopt);
    void cancel();

private:
    SequenceHistory& m_history;
    const Modulo1& m_state;
    std::function<int()> m_shownPage;
    std::string m_name;
    std::function<void()> m_ended;
    bool m_done = false;
};

}  // namespace velora
