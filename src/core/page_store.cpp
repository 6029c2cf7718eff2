#include "page_store.h"

#include <cstddef>

namespace velora {
namespace {

std::size_t at(int slot) {
    return static_cast<std::size_t>(slot);
}

void copySlot(Modulo1& state, int to, int from) {
    state.PageText[at(to)][1] = state.PageText[at(from)][1];
    state.PageText[at(to)][2] = state.PageText[at(from)][2];
    state.PagePause[at(to)] = state.PagePause[at(from)];
    state.PageKind[at(to)] = state.PageKind[at(from)];
}

void emptySlot(Modulo1& state, int slot, std::uint8_t kind, std::uint8_t pause) {
    state.PageText[at(slot)][1].clear();
    state.PageText[at(slot)][2].clear();
    state.PageKind[at(slot)] = kind;
    state.PagePause[at(slot)] = pause;
}

}  // namespace

void movePagesUp(Modulo1& state, int from, int to) {
    for (int i = to; i >= from + 1 && i >= 1; --i) copySlot(state, i, i - 1);
}

void movePagesDown(Modulo1& state, int from, int to) {
    for (int i = from; i <= to; ++i) {
        if (i + 1 > kLastSlot)
            emptySlot(state, i, kNeverStored, 0);
        else
            copySlot(state, i, i + 1);
    }
}

void putPage(Modulo1& state, int slot, std::uint8_t kind, const std::string& row1,
             const std::string& row2, std::uint8_t pause) {
    if (slot < 0 || slot > kLastSlot) return;
    state.PageText[at(slot)][1] = row1;
    state.PageText[at(slot)][2] = row2;
    state.PageKind[at(slot)] = kind;
    state.PagePause[at(slot)] = pause;
}

void clearPageTexts(Modulo1& state, int slot) {
    if (slot < 0 || slot > kLastSlot) return;
    state.PageText[at(slot)][1].clear();
    state.PageText[at(slot)][2].clear();
}

void clearPages(Modulo1& state, int first, int last) {
    for (int i = first; i <= last; ++i) emptySlot(state, i, kNeverStored, 0);
}

void clearPagesFrom(Modulo1& state, int first, std::uint8_t kind, std::uint8_t pause) {
    for (int i = first; i <= kLastSlot; ++i) emptySlot(state, i, kind, pause);
}

}  // namespace velora
