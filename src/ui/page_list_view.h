#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include <QAbstractListModel>
#include <QImage>
#include <QListView>
#include <QWidget>

#include "core/clock.h"
#include "pages/page_list.h"

class QAction;
class QLabel;
class QMimeData;

namespace velora {

class ControlBinder;

// The rows of the page list as Qt sees them. Each page's picture is drawn the first time its row
// is painted and kept with the page's content, so scrolling, moving pages or undoing a move draws
// nothing again; only a page that changed is drawn anew.
class PageRows : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { PictureRole = Qt::UserRole + 1, PauseRole, NumberRole };

    PageRows(PageList& pages, const Modulo1& state, const Clock& clock, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

    // Brings the rows in line with the store: only rows whose page changed are redrawn.
    void refresh();
    // The pages as the clipboard and a drag carry them: page lines as text, and our own type.
    QMimeData* pagesData(const std::vector<int>& pages) const;
    // The drag in progress came from this list.
    bool ownDrag(const QMimeData* data) const;

    // Pictures drawn since the list was made: a measure of its work.
    long picturesDrawn() const { return m_picturesDrawn; }

private:
    // What a row shows; two pages with the same key look alike.
    static std::string keyOf(const Modulo1& state, int page);
    const QImage& picture(int page) const;

    PageList& m_pages;
    const Modulo1& m_state;
    const Clock& m_clock;
    std::vector<std::string> m_keys;  // one per row, as last shown
    mutable std::unordered_map<std::string, QImage> m_pictures;
    mutable long m_picturesDrawn = 0;
    QByteArray m_dragMark;  // tells this list's own drags from any other
};

// The list itself: rows that move by dragging, and keys for the page operations.
class PageRowsView : public QListView {
    Q_OBJECT

public:
    using QListView::QListView;

    QSize sizeHint() const override;

    // A drop of rows from this list before page `before`.
    std::function<void(int before)> onMove;
    std::function<void(const QPoint& at)> onContextMenu;

protected:
    void startDrag(Qt::DropActions actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    PageRows* rows() const;
    // The page a drop at `pos` goes before.
    int dropTarget(const QPoint& pos) const;
};

// "Pagine": the whole sequence beside the editor, one row per page drawn as the sign shows it,
// with the operations on the selected pages in a context menu and on keys, and under it the
// count of pages and how long one pass lasts.
class PageListView : public QWidget {
    Q_OBJECT

public:
    PageListView(PageList& pages, ControlBinder& binder, const Modulo1& state, const Clock& clock,
                 QWidget* parent = nullptr);

    // "Sposta su", "Sposta giù", "Duplica", "Taglia", "Copia", "Incolla", "Elimina", in that order:
    // for the window's menu as well as the list's own.
    const QList<QAction*>& pageActions() const { return m_actions; }
    PageRowsView* list() const { return m_list; }
    PageRows* rows() const { return m_rows; }

    // The pages the operations act on: those selected, else the page shown.
    std::vector<int> selectedPages() const;

    // Follows the store and the editor's page: the rows, the selected row, the summary.
    void refresh();

private:
    QAction* addOperation(const QString& text, const QList<QKeySequence>& keys,
                          Qt::ShortcutContext context, std::function<void()> run);
    // Runs an operation on the model and selects what it left.
    void apply(const std::function<PageList::Outcome()>& operation);
    void select(const std::vector<int>& pages, int current);
    // Runs `action`; the list keeps the focus it had.
    void keepingFocus(const std::function<void()>& action);
    void copy(bool cut);
    void paste();
    void updateActions();

    PageList& m_pages;
    ControlBinder& m_binder;
    PageRows* m_rows;
    PageRowsView* m_list;
    QLabel* m_summary;
    QList<QAction*> m_actions;
    QAction* m_paste = nullptr;
    bool m_following = false;  // the list is being brought in line with the editor
};

}  // namespace velora
