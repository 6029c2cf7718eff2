#include "page_list.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "core/page_store.h"
#include "core/windows1252.h"
#include "files/sequence_file.h"
#include "protocol/page_layout.h"
#include "sign/page_time.h"

namespace velora {
namespace {

std::size_t at(int slot) {
    return static_cast<std::size_t>(slot);
}

std::string trimmed(const std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string counted(std::size_t count, const char* one, const char* many) {
    return decimalText(static_cast<int>(count)) + " " + (count == 1 ? one : many);
}

// "Sposta pagina 3" for one page, "Sposta 2 pagine" for several.
std::string stepName(const char* what, const std::vector<int>& pages) {
    if (pages.size() == 1) return std::string(what) + " pagina " + decimalText(pages.front());
    return std::string(what) + " " + counted(pages.size(), "pagina", "pagine");
}

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r\x1A") == std::string_view::npos;
}

}  // namespace

PastedPages readPastedPages(std::string_view text, int rowChars) {
    // The lines that are not blank, each with its line end.
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(start, end - start);
        if (!isBlankLine(line.substr(0, line.find('\n')))) lines.push_back(line);
        start = end;
    }
    PastedPages pasted;
    // A header line is read as one, and only as one: it holds two numbers.
    std::size_t first = 0;
    if (!lines.empty() && parseSequenceFile(lines.front())) first = 1;
    pasted.count = (lines.size() - first + 1) / 2;
    const std::size_t readable = std::min<std::size_t>(pasted.count, kLastSlot);
    std::string body = decimalText(kLastSlot) + "," + decimalText(rowChars) + "\r\n";
    for (std::size_t i = first; i < std::min(lines.size(), first + 2 * readable); ++i)
        body += lines[i];
    const std::optional<SequenceFile> read = parseSequenceFile(body);
    if (!read || read->records.empty()) return pasted;
    // Only a count past the last slot is too many. Under it every line was read, and a quoted
    // text may hold a line break, so the records read are the pages, however many lines it took.
    if (pasted.count > kLastSlot) {
        pasted.kind = PastedPages::Kind::TooMany;
        return pasted;
    }
    pasted.kind = PastedPages::Kind::Pages;
    pasted.count = read->records.size();
    pasted.pages = read->records;
    return pasted;
}

PageList::PageList(EditorWindow& editor) : m_editor(editor), m_state(editor.state()) {}

int PageList::count() const {
    return std::min<int>(m_state.PageCount, kLastSlot);
}

bool PageList::isEmptyPage(int page) const {
    return m_state.PageKind[at(page)] == kNeverStored ||
           (m_state.PageText[at(page)][1].empty() && m_state.PageText[at(page)][2].empty());
}

std::string PageList::kindWords(int page) const {
    if (isEmptyPage(page)) return "Pagina vuota";
    const std::uint8_t kind = m_state.PageKind[at(page)];
    return knownKind(kind) ? pageLayout(kind).words : "Tipo " + decimalText(kind);
}

std::string PageList::accessibleName(int page) const {
    const int pause = m_state.PagePause[at(page)];
    std::string name = "Pagina " + decimalText(page) + ", " + kindWords(page) + ", pausa " +
                       decimalText(pause) + (pause == 1 ? " secondo" : " secondi");
    if (isEmptyPage(page)) return name;
    const PageLayout& layout = pageLayout(m_state.PageKind[at(page)]);
    std::vector<std::string> texts;
    for (const RowLayout* row : {&layout.row1, &layout.row2}) {
        if (row->show == RowShow::Info) {
            texts.push_back("data e ora");
        } else if (row->text != 0) {
            std::string text = trimmed(m_state.PageText[at(page)][at(row->text)]);
            if (!text.empty()) texts.push_back(std::move(text));
        }
    }
    for (std::size_t i = 0; i < texts.size(); ++i) name += (i == 0 ? ": " : " / ") + texts[i];
    return name;
}

std::string PageList::summary() const {
    const int pages = count();
    if (pages == 0) return "Nessuna pagina";
    double seconds = 0;
    for (int page = 1; page <= pages; ++page) seconds += signPageSeconds(m_state, page);
    const long whole = std::lround(seconds);
    const long rest = whole % 60;
    return counted(static_cast<std::size_t>(pages), "pagina", "pagine") + " \xB7 un giro circa " +
           std::to_string(whole / 60) + ":" + (rest < 10 ? "0" : "") + std::to_string(rest);
}

int PageList::shownPage() const {
    // While the preview plays, the page it shows is the one the list follows.
    const int position =
        m_state.PreviewRunning == 1 ? m_state.PreviewPage : m_editor.VScroll1.value();
    return position >= 1 && position <= count() ? position : 0;
}

void PageList::choose(int page) {
    if (page < 1 || page > count() || page == m_editor.VScroll1.value()) return;
    m_editor.VScroll1.setValue(page);
}

std::vector<int> PageList::normalised(const std::vector<int>& pages) const {
    std::vector<int> kept;
    for (int page : pages) {
        if (page >= 1 && page <= count()) kept.push_back(page);
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    return kept;
}

SequenceRecord PageList::record(int page) const {
    const std::size_t slot = at(page);
    return {m_state.PageKind[slot], m_state.PageText[slot][1], m_state.PageText[slot][2],
            m_state.PagePause[slot]};
}

bool PageList::roomFor(std::size_t added) const {
    const int room = kLastSlot - count();
    if (static_cast<int>(added) <= room) return true;
    std::string message =
        room == 0 ? "La sequenza è piena: ha già 200 pagine, il massimo."
                  : "La sequenza può avere al massimo 200 pagine: " +
                        std::string(room == 1 ? "ne entra ancora 1." : "ne entrano ancora ") +
                        (room == 1 ? "" : decimalText(room) + ".");
    m_editor.services().dialogs.message(windows1252::fromUtf8(message));
    return false;
}

PageList::Outcome PageList::commit(const std::vector<SequenceRecord>& pages,
                                   const std::vector<int>& selection, int shown,
                                   const std::string& name) {
    Outcome outcome;
    trapErrors(m_editor.services(), [&] {
        const int before = count();
        const int after = static_cast<int>(pages.size());
        HistoryScope step = m_editor.step(name);
        for (int page = 1; page <= after; ++page) {
            const SequenceRecord& record = pages[at(page - 1)];
            putPage(m_state, page, record.kind, record.row1, record.row2, record.pause);
        }
        // The slots the sequence left behind are empty, as deleting leaves them.
        clearPages(m_state, after + 1, before);
        m_state.PageCount = static_cast<std::uint8_t>(after);
        // A blank page opened in the sequence is now a page of the list like any other.
        m_state.GapOpened = 0;
        const int position = std::clamp(shown, 1, std::max(1, std::min(after + 1, kLastSlot)));
        outcome.changed = step.commit(position);
        m_editor.showStepPage(position);
        outcome.selection = selection;
        outcome.shown = position;
    });
    return outcome;
}

PageList::Outcome PageList::arrange(const std::vector<int>& selected,
                                    const std::function<void(std::vector<Moving>&)>& change,
                                    const std::string& name) {
    std::vector<Moving> moving;
    for (int page = 1; page <= count(); ++page) moving.push_back({record(page), page});
    change(moving);
    std::vector<SequenceRecord> pages;
    std::vector<int> selection;
    const int shownBefore = shownPage();
    int shown = 0;
    for (std::size_t i = 0; i < moving.size(); ++i) {
        const int page = static_cast<int>(i) + 1;
        pages.push_back(std::move(moving[i].page));
        if (std::binary_search(selected.begin(), selected.end(), moving[i].from))
            selection.push_back(page);
        if (shownBefore != 0 && moving[i].from == shownBefore) shown = page;
    }
    if (shown == 0 && !selection.empty()) shown = selection.front();
    if (shown == 0) shown = shownBefore;
    return commit(pages, selection, shown, name);
}

PageList::Outcome PageList::moveUp(const std::vector<int>& pages) {
    const std::vector<int> selected = normalised(pages);
    if (selected.empty() || selected.front() == 1) return {};
    return arrange(
        selected,
        [&](std::vector<Moving>& moving) {
            for (int page : selected) std::swap(moving[at(page - 2)], moving[at(page - 1)]);
        },
        stepName("Sposta", selected));
}

PageList::Outcome PageList::moveDown(const std::vector<int>& pages) {
    const std::vector<int> selected = normalised(pages);
    if (selected.empty() || selected.back() == count()) return {};
    return arrange(
        selected,
        [&](std::vector<Moving>& moving) {
            for (auto page = selected.rbegin(); page != selected.rend(); ++page)
                std::swap(moving[at(*page - 1)], moving[at(*page)]);
        },
        stepName("Sposta", selected));
}

PageList::Outcome PageList::moveTo(const std::vector<int>& pages, int before) {
    const std::vector<int> selected = normalised(pages);
    if (selected.empty()) return {};
    return arrange(
        selected,
        [&](std::vector<Moving>& moving) {
            auto chosen = [&](const Moving& m) {
                return std::binary_search(selected.begin(), selected.end(), m.from);
            };
            std::vector<Moving> block;
            std::vector<Moving> rest;
            std::size_t insertAt = 0;
            for (Moving& m : moving) {
                if (chosen(m)) {
                    block.push_back(std::move(m));
                } else {
                    if (m.from < before) ++insertAt;
                    rest.push_back(std::move(m));
                }
            }
            rest.insert(rest.begin() + static_cast<std::ptrdiff_t>(insertAt),
                        std::make_move_iterator(block.begin()),
                        std::make_move_iterator(block.end()));
            moving = std::move(rest);
        },
        stepName("Sposta", selected));
}

PageList::Outcome PageList::insertPages(std::vector<SequenceRecord> added, int after,
                                        const std::string& name) {
    if (!roomFor(added.size())) return {};
    std::vector<SequenceRecord> pages;
    for (int page = 1; page <= count(); ++page) pages.push_back(record(page));
    after = std::clamp(after, 0, count());
    std::vector<int> selection;
    for (std::size_t i = 0; i < added.size(); ++i)
        selection.push_back(after + 1 + static_cast<int>(i));
    pages.insert(pages.begin() + after, std::make_move_iterator(added.begin()),
                 std::make_move_iterator(added.end()));
    return commit(pages, selection, selection.front(), name);
}

PageList::Outcome PageList::duplicate(const std::vector<int>& pages) {
    const std::vector<int> selected = normalised(pages);
    if (selected.empty()) return {};
    std::vector<SequenceRecord> copies;
    for (int page : selected) copies.push_back(record(page));
    return insertPages(std::move(copies), selected.back(), stepName("Duplica", selected));
}

PageList::Outcome PageList::removePages(const std::vector<int>& selected, const std::string& name) {
    std::vector<SequenceRecord> pages;
    for (int page = 1; page <= count(); ++page) {
        if (!std::binary_search(selected.begin(), selected.end(), page))
            pages.push_back(record(page));
    }
    // The page that came after the first one removed takes its place.
    const int shown = std::min(selected.front(), static_cast<int>(pages.size()));
    std::vector<int> selection;
    if (shown >= 1) selection.push_back(shown);
    return commit(pages, selection, std::max(shown, 1), name);
}

PageList::Outcome PageList::remove(const std::vector<int>& pages) {
    const std::vector<int> selected = normalised(pages);
    if (selected.empty()) return {};
    return removePages(selected, stepName("Elimina", selected));
}

PageList::Outcome PageList::cut(const std::vector<int>& pages) {
    const std::vector<int> selected = normalised(pages);
    if (selected.empty()) return {};
    return removePages(selected, stepName("Taglia", selected));
}

std::string PageList::pageLines(const std::vector<int>& pages) const {
    std::string lines;
    for (int page : normalised(pages)) {
        SequenceRecord copied = record(page);
        // A slot never stored has no lines of its own in a file: it travels as a blank page.
        if (copied.kind == kNeverStored) {
            copied.kind = kTwoFixedRows;
            fitToWidth(copied, m_state.RowChars);
        }
        lines += pageFileLines(copied);
    }
    return lines;
}

std::string PageList::pageFile(const std::vector<int>& pages) const {
    return decimalText(static_cast<int>(normalised(pages).size())) + "," +
           decimalText(m_state.RowChars) + "\r\n" + pageLines(pages);
}

PageList::Outcome PageList::paste(const std::string& file, const std::string& lines, int after) {
    const PastedPages read = readPastedPages(!file.empty() ? file : lines, m_state.RowChars);
    auto refuse = [this](const std::string& why) {
        m_editor.services().dialogs.message(windows1252::fromUtf8(why));
        return Outcome{};
    };
    if (read.kind == PastedPages::Kind::NotPages) {
        return refuse(
            "Niente da incollare: il testo copiato non è fatto di pagine (due righe per pagina, "
            "come in un file .inf: tipo, \"testo\", pausa).");
    }
    if (read.kind == PastedPages::Kind::TooMany) {
        roomFor(read.count);
        return {};
    }
    std::vector<SequenceRecord> pages = read.pages;
    int fixedCut = 0;
    int scrollingCut = 0;
    for (SequenceRecord& page : pages) {
        if (!knownKind(page.kind)) {
            return refuse("Niente da incollare: una pagina copiata è del tipo " +
                          decimalText(page.kind) + ", che l'insegna non conosce (tipi da 1 a 8).");
        }
        const FitCuts cuts = fitToWidth(page, m_state.RowChars);
        fixedCut += cuts.fixed ? 1 : 0;
        scrollingCut += cuts.scrolling ? 1 : 0;
    }
    if (!roomFor(pages.size())) return {};
    if (fixedCut > 0 || scrollingCut > 0) {
        auto pagesHave = [](int n) {
            return n == 1 ? std::string("1 pagina ha") : decimalText(n) + " pagine hanno";
        };
        std::string said;
        if (fixedCut > 0)
            said = pagesHave(fixedCut) + " testo oltre " + decimalText(m_state.RowChars) +
                   " caratteri";
        if (scrollingCut > 0) {
            said += (said.empty() ? "" : "; ") + pagesHave(scrollingCut) +
                    " testo scorrevole oltre " + decimalText(kScrollingLimit) + " caratteri";
        }
        const MessageAnswer answer = m_editor.services().dialogs.messageBox(
            windows1252::fromUtf8(said + ": la parte in più verrà tagliata. Continuare?"),
            "Conferma", MessageIcon::Exclamation, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) return {};
    }
    const std::string name =
        pages.size() == 1 ? "Incolla pagina " + decimalText(std::clamp(after, 0, count()) + 1)
                          : "Incolla " + counted(pages.size(), "pagina", "pagine");
    return insertPages(std::move(pages), after, name);
}

}  // namespace velora
