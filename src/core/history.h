#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
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
// Any operation on the store becomes a step by bracketing it:
//
//     history.begin(state, shownPage);
//     ...change the store...
//     history.commit(state, shownPageAfter, "Elimina pagina 3");
//
// A later operation (moving or pasting pages) needs nothing more than that.
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

    // Notes the store as it stands before a change. A second begin before commit or cancel
    // keeps the first: a step that runs another one inside is still one step.
    void begin(const Modulo1& state, int shownPage);
    // Ends the step begun: keeps what changed under `name`, and forgets the steps that could be
    // done again. Nothing is kept when nothing of the sequence changed. Returns whether a step
    // was kept.
    bool commit(const Modulo1& state, int shownPage, std::string name);
    // Forgets a step begun, keeping the store as it is.
    void cancel();
    bool recording() const { return m_open.has_value(); }

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
    std::string m_clean;
};

}  // namespace velora
