#include "history.h"

#include <algorithm>
#include <utility>

namespace velora {
namespace {

std::size_t at(int slot) {
    return static_cast<std::size_t>(slot);
}

// Lengths as base-128 digits, lowest first: a row text of up to 127 characters costs one byte.
void putLength(std::string& out, std::size_t length) {
    while (length >= 0x80) {
        out.push_back(static_cast<char>((length & 0x7F) | 0x80));
        length >>= 7;
    }
    out.push_back(static_cast<char>(length));
}

std::size_t takeLength(const std::string& in, std::size_t& pos) {
    std::size_t length = 0;
    int shift = 0;
    while (pos < in.size()) {
        const auto byte = static_cast<unsigned char>(in[pos++]);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) break;
        shift += 7;
    }
    return length;
}

void packSlot(std::string& out, const Modulo1& state, int slot) {
    out.push_back(static_cast<char>(state.PageKind[at(slot)]));
    out.push_back(static_cast<char>(state.PagePause[at(slot)]));
    for (int column : {1, 2}) {
        const std::string& text = state.PageText[at(slot)][static_cast<std::size_t>(column)];
        putLength(out, text.size());
        out += text;
    }
}

std::string packedSlot(const Modulo1& state, int slot) {
    std::string out;
    packSlot(out, state, slot);
    return out;
}

}  // namespace

SequenceHistory::Scalars SequenceHistory::scalarsOf(const Modulo1& state, int shownPage) {
    return {state.PageCount, state.RowChars, state.GapOpened, shownPage, state.CurrentFilePath};
}

void SequenceHistory::begin(const Modulo1& state, int shownPage) {
    if (m_depth++ > 0) return;
    Open open;
    open.slots.reserve(at(kLastSlot) + 1);
    for (int slot = 0; slot <= kLastSlot; ++slot) open.slots.push_back(packedSlot(state, slot));
    open.scalars = scalarsOf(state, shownPage);
    m_open = std::move(open);
}

void SequenceHistory::cancel() {
    if (m_depth == 0 || --m_depth > 0) return;
    m_open.reset();
}

bool SequenceHistory::commit(const Modulo1& state, int shownPage, std::string name) {
    if (!m_open || m_depth == 0 || --m_depth > 0) return false;
    Open open = std::move(*m_open);
    m_open.reset();

    int first = -1;
    int last = -1;
    std::vector<std::string> now(open.slots.size());
    for (int slot = 0; slot <= kLastSlot; ++slot) {
        now[at(slot)] = packedSlot(state, slot);
        if (now[at(slot)] == open.slots[at(slot)]) continue;
        if (first < 0) first = slot;
        last = slot;
    }
    Scalars after = scalarsOf(state, shownPage);
    // The page shown is not the sequence: a step that only moved it is no step.
    Scalars sameShown = open.scalars;
    sameShown.shownPage = shownPage;
    if (first < 0 && sameShown == after) return false;

    Step step;
    step.name = std::move(name);
    step.scalarsBefore = std::move(open.scalars);
    step.scalarsAfter = std::move(after);
    if (first >= 0) {
        step.firstSlot = first;
        for (int slot = first; slot <= last; ++slot) {
            step.before += open.slots[at(slot)];
            step.after += now[at(slot)];
        }
        step.before.shrink_to_fit();
        step.after.shrink_to_fit();
    }

    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_done), m_steps.end());
    m_steps.push_back(std::move(step));
    while (m_steps.size() > m_limit) m_steps.pop_front();
    m_done = m_steps.size();
    return true;
}

std::string SequenceHistory::undoName() const {
    return canUndo() ? m_steps[m_done - 1].name : std::string();
}

std::string SequenceHistory::redoName() const {
    return canRedo() ? m_steps[m_done].name : std::string();
}

void SequenceHistory::apply(Modulo1& state, int firstSlot, const std::string& packed,
                            const Scalars& scalars) {
    std::size_t pos = 0;
    for (int slot = firstSlot; pos < packed.size() && slot <= kLastSlot; ++slot) {
        state.PageKind[at(slot)] = static_cast<std::uint8_t>(packed[pos++]);
        state.PagePause[at(slot)] = static_cast<std::uint8_t>(packed[pos++]);
        for (std::size_t column : {1u, 2u}) {
            const std::size_t length = takeLength(packed, pos);
            state.PageText[at(slot)][column].assign(packed, pos, length);
            pos += length;
        }
    }
    state.PageCount = scalars.pageCount;
    state.RowChars = scalars.rowChars;
    state.GapOpened = scalars.gapOpened;
    state.CurrentFilePath = scalars.filePath;
}

void SequenceHistory::applyChanged(Modulo1& state, const Step& step, bool after) {
    const Scalars& to = after ? step.scalarsAfter : step.scalarsBefore;
    const Scalars& from = after ? step.scalarsBefore : step.scalarsAfter;
    // What the step did not change may have moved since (a save names the file): it stays.
    Scalars scalars{state.PageCount, state.RowChars, state.GapOpened, 0, state.CurrentFilePath};
    scalars.pageCount = to.pageCount;
    if (to.rowChars != from.rowChars) scalars.rowChars = to.rowChars;
    if (to.gapOpened != from.gapOpened) scalars.gapOpened = to.gapOpened;
    if (to.filePath != from.filePath) scalars.filePath = to.filePath;
    apply(state, step.firstSlot, after ? step.after : step.before, scalars);
}

std::optional<int> SequenceHistory::undo(Modulo1& state) {
    if (!canUndo()) return std::nullopt;
    m_open.reset();
    m_depth = 0;
    const Step& step = m_steps[--m_done];
    applyChanged(state, step, false);
    return step.scalarsBefore.shownPage;
}

std::optional<int> SequenceHistory::redo(Modulo1& state) {
    if (!canRedo()) return std::nullopt;
    m_open.reset();
    m_depth = 0;
    const Step& step = m_steps[m_done++];
    applyChanged(state, step, true);
    return step.scalarsAfter.shownPage;
}

void SequenceHistory::clear() {
    m_steps.clear();
    m_done = 0;
    m_open.reset();
    m_depth = 0;
}

std::string SequenceHistory::packSequence(const Modulo1& state) {
    std::string out;
    out.push_back(static_cast<char>(state.PageCount));
    out.push_back(static_cast<char>(state.RowChars));
    const int last = std::min<int>(state.PageCount, kLastSlot);
    for (int slot = 1; slot <= last; ++slot) packSlot(out, state, slot);
    return out;
}

void SequenceHistory::markClean(const Modulo1& state) {
    m_clean = packSequence(state);
}

bool SequenceHistory::modified(const Modulo1& state) const {
    return packSequence(state) != m_clean;
}

std::size_t SequenceHistory::bytesHeld() const {
    std::size_t bytes = sizeof(*this);
    for (const Step& step : m_steps) {
        bytes += sizeof(Step) + step.name.capacity() + step.before.capacity() +
                 step.after.capacity() + step.scalarsBefore.filePath.capacity() +
                 step.scalarsAfter.filePath.capacity();
    }
    return bytes;
}

HistoryScope::HistoryScope(SequenceHistory& history, const Modulo1& state,
                           std::function<int()> shownPage, std::string name,
                           std::function<void()> ended)
    : m_history(history),
      m_state(state),
      m_shownPage(std::move(shownPage)),
      m_name(std::move(name)),
      m_ended(std::move(ended)) {
    m_history.begin(m_state, m_shownPage());
}

HistoryScope::~HistoryScope() {
    try {
        commit();
    } catch (...) {
        // Only the want of memory fails here; the store is kept as it is.
    }
}

bool HistoryScope::commit(std::optional<int> shownPage) {
    if (m_done) return false;
    m_done = true;
    const bool kept = m_history.commit(m_state, shownPage.value_or(m_shownPage()), m_name);
    if (m_ended) m_ended();
    return kept;
}

void HistoryScope::cancel() {
    if (m_done) return;
    m_done = true;
    m_history.cancel();
    if (m_ended) m_ended();
}

}  // namespace velora
