#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_window.h"
#include "files/page_fit.h"
#include "files/sequence_file.h"

namespace velora {

// What pasted text holds: page lines, two a page, with or without a header line ("3,18"). A
// header's page count is not trusted: every page that follows it is taken.
struct PastedPages {
    enum class Kind { NotPages, TooMany, Pages };
    Kind kind = Kind::NotPages;
    std::size_t count = 0;  // the pages found, also when too many to read
    std::vector<SequenceRecord> pages;
};
PastedPages readPastedPages(std::string_view text, int rowChars);

// The list of pages beside the editor: one row per stored page, what each row says, and the
// operations on a selection of rows. Every operation that changes the sequence is one step of the
// editor's history, and leaves the editor showing a page through the selector's own loading, so
// the selector, "Numero Pagina", "Pagine Inserite" and the LED view follow it.
//
// Pages are numbered 1..PageCount, as the selector numbers them. A selection is a list of page
// numbers in any order; numbers outside 1..PageCount and repeats are left out.
//
// Texts (messages, kind words, clipboard bytes) are Windows-1252, as everywhere in the model.
class PageList {
public:
    explicit PageList(EditorWindow& editor);

    // What the operations leave: the pages to select, the page shown (one of them when there are
    // any), and whether the sequence changed. A refused operation changes nothing and has told
    // the user why in a message box.
    struct Outcome {
        bool changed = false;
        std::vector<int> selection;
        int shown = 0;
    };

    // The rows.
    int count() const;
    // "Due righe", "Riga 2 scorrevole", "Grande", "Grande scorrevole", "Data e ora in riga 2",
    // "Data e ora in riga 1", "Riga 1 scorrevole", "Grande inverso"; "Pagina vuota" for a page
    // whose texts are both empty.
    std::string kindWords(int page) const;
    bool isEmptyPage(int page) const;
    // What a screen reader says for the row: "Pagina 3, Due righe, pausa 5 secondi: CIAO / MONDO".
    std::string accessibleName(int page) const;
    // Under the list: "12 pagine · un giro circa 1:05", one pass as the sign shows it: each page's
    // scrolling and its whole pause.
    std::string summary() const;

    // The page the editor shows, when it is a stored page; 0 on the new-page slot. While the
    // preview plays, the page being played.
    int shownPage() const;
    // Shows `page` in the editor through the selector, with its loading rules.
    void choose(int page);

    // "Sposta su" / "Sposta giù": each selected page changes place with the page before (after)
    // the first (last) of its run; nothing moves when the selection touches the first (last) page.
    Outcome moveUp(const std::vector<int>& pages);
    Outcome moveDown(const std::vector<int>& pages);
    // Dragging: the selected pages, in their order, go before page `before` of the list as it
    // stands (PageCount + 1: to the end).
    Outcome moveTo(const std::vector<int>& pages, int before);
    // "Duplica": copies of the selected pages, in their order, right after the last of them.
    Outcome duplicate(const std::vector<int>& pages);
    // "Elimina": the selected pages go; the page after them is shown.
    Outcome remove(const std::vector<int>& pages);

    // "Copia": the pages as the lines they have in an ".inf" file, two a page, no header line.
    std::string pageLines(const std::vector<int>& pages) const;
    // Our own clipboard type: the same pages as a whole ".inf" file, whose first line gives their
    // count and the row width they were made for.
    std::string pageFile(const std::vector<int>& pages) const;
    // "Taglia": copy (the caller puts pageLines and pageFile on the clipboard first), then remove.
    Outcome cut(const std::vector<int>& pages);
    // "Incolla": pages from our own type (`file`, a whole ".inf") or, when that is empty, from
    // plain text lines (`lines`, a header line allowed); they go after page `after` (0: at the
    // front). Fixed rows are brought to this sequence's width and scrolling ones to 114
    // characters; when that cuts text the user is asked first, and "No" changes nothing. Text
    // that is not page lines, or more pages than fit, changes nothing and says why.
    Outcome paste(const std::string& file, const std::string& lines, int after);

    static constexpr const char* kMimeType = "application/x-velora-pages";

private:
    // A page on its way through an operation, with the place it had before (0 for a new one),
    // so that the page shown can be followed to where it went.
    struct Moving {
        SequenceRecord page;
        int from = 0;
    };

    std::vector<int> normalised(const std::vector<int>& pages) const;
    SequenceRecord record(int page) const;
    // Whether `added` pages fit in the store; says how many do when they do not.
    bool roomFor(std::size_t added) const;
    // Puts `pages` in the store as the whole sequence, one step named `name`, and shows `shown`.
    Outcome commit(const std::vector<SequenceRecord>& pages, const std::vector<int>& selection,
                   int shown, const std::string& name);
    // Reorders the pages; the selected ones stay selected, the page shown stays shown.
    Outcome arrange(const std::vector<int>& selected,
                    const std::function<void(std::vector<Moving>&)>& change,
                    const std::string& name);
    Outcome insertPages(std::vector<SequenceRecord> added, int after, const std::string& name);
    Outcome removePages(const std::vector<int>& selected, const std::string& name);

    EditorWindow& m_editor;
    Modulo1& m_state;
};

}  // namespace velora
