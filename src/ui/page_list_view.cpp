#include "page_list_view.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "control_binder.h"
#include "picture/sign_pictures.h"
#include "qt_text.h"

namespace velora {
namespace {

// Pixels a dot takes in a row's picture: a sign of 18 characters is 220 pixels wide.
constexpr int kRowPitch = 2;
constexpr int kMargin = 4;

const QString kPagesType = QString::fromLatin1(PageList::kMimeType);
// Marks a drag by the list it started from; its value is that list's own.
const QString kDragType = QStringLiteral("application/x-velora-page-drag");

// A row: the page number, the sign as it shows the page, and under it the kind and the pause.
class PageRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        item.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);

        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setPen(option.palette.color(
            QPalette::Normal, selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect area = option.rect.adjusted(kMargin, kMargin, -kMargin, -kMargin);
        const int numberWidth = numberColumn(option.fontMetrics);
        painter->drawText(QRect(area.left(), area.top(), numberWidth, area.height()),
                          Qt::AlignRight | Qt::AlignTop,
                          QString::number(index.data(PageRows::NumberRole).toInt()));

        const int left = area.left() + numberWidth + kMargin * 2;
        const QImage picture = index.data(PageRows::PictureRole).value<QImage>();
        QRect target(left, area.top(), picture.width(), picture.height());
        // A narrow list shows the picture smaller, never wider than it was drawn.
        if (target.right() > area.right()) {
            const int width = std::max(1, area.right() - left);
            target.setSize(picture.size().scaled(width, picture.height(), Qt::KeepAspectRatio));
        }
        painter->drawImage(target, picture);

        const int pause = index.data(PageRows::PauseRole).toInt();
        const QString caption =
            QStringLiteral("%1 \u00B7 %2 s").arg(index.data(Qt::DisplayRole).toString()).arg(pause);
        const QRect captionArea(left, target.bottom() + 2, area.right() - left,
                                option.fontMetrics.height());
        painter->drawText(
            captionArea, Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(caption, Qt::ElideRight, captionArea.width()));
        painter->restore();
    }

    // As wide as the number alone: a narrow list draws the pictures smaller instead of scrolling
    // sideways.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QImage picture = index.data(PageRows::PictureRole).value<QImage>();
        return {numberColumn(option.fontMetrics) + kMargin * 5,
                picture.height() + option.fontMetrics.height() + kMargin * 2 + 2};
    }

    static int numberColumn(const QFontMetrics& metrics) {
        return metrics.horizontalAdvance(QStringLiteral("200"));
    }
};

}  // namespace

PageRows::PageRows(PageList& pages, const Modulo1& state, const Clock& clock, QObject* parent)
    : QAbstractListModel(parent),
      m_pages(pages),
      m_state(state),
      m_clock(clock),
      m_dragMark(QByteArray::number(reinterpret_cast<quintptr>(this))) {}

std::string PageRows::keyOf(const Modulo1& state, int page) {
    std::string key{static_cast<char>(state.PageKind[page]),
                    static_cast<char>(state.PagePause[page]), static_cast<char>(state.RowChars)};
    key += state.PageText[page][1];
    key += '\0';
    key += state.PageText[page][2];
    return key;
}

int PageRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_keys.size());
}

const QImage& PageRows::picture(int page) const {
    const std::string& key = m_keys[static_cast<std::size_t>(page - 1)];
    auto found = m_pictures.find(key);
    if (found == m_pictures.end()) {
        ++m_picturesDrawn;
        found = m_pictures.emplace(key, pagePicture(m_state, page, m_clock.now(), kRowPitch)).first;
    }
    return found->second;
}

QVariant PageRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const int page = index.row() + 1;
    switch (role) {
        case Qt::DisplayRole:
            return toQt(m_pages.kindWords(page));
        case Qt::AccessibleTextRole:
        case Qt::ToolTipRole:
            return toQt(m_pages.accessibleName(page));
        case PictureRole:
            return picture(page);
        case PauseRole:
            return int(m_state.PagePause[page]);
        case NumberRole:
            return page;
        default:
            return {};
    }
}

Qt::ItemFlags PageRows::flags(const QModelIndex& index) const {
    // Rows are dropped between rows, never onto one.
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QStringList PageRows::mimeTypes() const {
    return {kDragType, kPagesType, QStringLiteral("text/plain")};
}

QMimeData* PageRows::pagesData(const std::vector<int>& pages) const {
    auto* data = new QMimeData;
    const std::string file = m_pages.pageFile(pages);
    data->setData(kPagesType, QByteArray(file.data(), static_cast<qsizetype>(file.size())));
    data->setText(toQt(m_pages.pageLines(pages)));
    return data;
}

QMimeData* PageRows::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> pages;
    for (const QModelIndex& index : indexes) pages.push_back(index.row() + 1);
    std::sort(pages.begin(), pages.end());
    QMimeData* data = pagesData(pages);
    data->setData(kDragType, m_dragMark);
    return data;
}

bool PageRows::ownDrag(const QMimeData* data) const {
    return data && data->data(kDragType) == m_dragMark;
}

void PageRows::refresh() {
    const int count = m_pages.count();
    std::vector<std::string> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (int page = 1; page <= count; ++page) keys.push_back(keyOf(m_state, page));
    if (keys == m_keys) return;

    if (keys.size() != m_keys.size()) {
        // The pictures are kept by content, so a reset draws only pages that are new.
        beginResetModel();
        m_keys = std::move(keys);
        endResetModel();
    } else {
        std::vector<std::string> old = std::move(m_keys);
        m_keys = std::move(keys);
        for (int row = 0; row < count; ++row) {
            if (old[static_cast<std::size_t>(row)] != m_keys[static_cast<std::size_t>(row)])
                Q_EMIT dataChanged(index(row), index(row));
        }
    }
    // Pictures of pages gone are let go once they outnumber the pages kept.
    if (m_pictures.size() > m_keys.size() * 2 + 16) {
        std::unordered_map<std::string, QImage> kept;
        for (const std::string& key : m_keys) {
            const auto found = m_pictures.find(key);
            if (found != m_pictures.end()) kept.insert(*found);
        }
        m_pictures = std::move(kept);
    }
}

QSize PageRowsView::sizeHint() const {
    // Wide enough for the pictures as they are drawn, the number and the scroll bar.
    int picture = 0;
    if (model() && model()->rowCount() > 0)
        picture = model()->index(0, 0).data(PageRows::PictureRole).value<QImage>().width();
    if (picture == 0) picture = 220;
    const int width = PageRowDelegate::numberColumn(fontMetrics()) + picture + kMargin * 6 +
                      style()->pixelMetric(QStyle::PM_ScrollBarExtent) + frameWidth() * 2;
    return {width, QListView::sizeHint().height()};
}

PageRows* PageRowsView::rows() const {
    return static_cast<PageRows*>(model());
}

void PageRowsView::startDrag(Qt::DropActions) {
    const QModelIndexList indexes = selectionModel()->selectedRows();
    if (indexes.isEmpty()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(model()->mimeData(indexes));
    const QImage picture = indexes.first().data(PageRows::PictureRole).value<QImage>();
    drag->setPixmap(QPixmap::fromImage(picture));
    drag->setHotSpot(QPoint(picture.width() / 2, picture.height() / 2));
    // The drop moves the pages itself; a move answered here must not take rows away again.
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void PageRowsView::dragEnterEvent(QDragEnterEvent* event) {
    // Anything else (a file dropped to open it) goes on to the window.
    if (!rows()->ownDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    QListView::dragEnterEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void PageRowsView::dragMoveEvent(QDragMoveEvent* event) {
    if (!rows()->ownDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    QListView::dragMoveEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

int PageRowsView::dropTarget(const QPoint& pos) const {
    const QModelIndex index = indexAt(pos);
    if (!index.isValid()) return model()->rowCount() + 1;
    const QRect rect = visualRect(index);
    return pos.y() < rect.center().y() ? index.row() + 1 : index.row() + 2;
}

void PageRowsView::dropEvent(QDropEvent* event) {
    if (!rows()->ownDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    const int before = dropTarget(event->position().toPoint());
    event->setDropAction(Qt::MoveAction);
    event->accept();
    // The drag is over: no more scrolling at the edges, no drop mark.
    QDragLeaveEvent leave;
    QListView::dragLeaveEvent(&leave);
    if (onMove) onMove(before);
}

void PageRowsView::contextMenuEvent(QContextMenuEvent* event) {
    if (onContextMenu) onContextMenu(event->globalPos());
}

PageListView::PageListView(PageList& pages, ControlBinder& binder, const Modulo1& state,
                           const Clock& clock, QWidget* parent)
    : QWidget(parent),
      m_pages(pages),
      m_binder(binder),
      m_rows(new PageRows(pages, state, clock, this)),
      m_list(new PageRowsView(this)),
      m_summary(new QLabel(this)) {
    setObjectName(QStringLiteral("PageListPanel"));
    auto* caption = new QLabel(QStringLiteral("&Pagine"), this);
    caption->setBuddy(m_list);
    m_list->setObjectName(QStringLiteral("PageList"));
    m_list->setModel(m_rows);
    m_list->setItemDelegate(new PageRowDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setUniformItemSizes(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setDragEnabled(true);
    m_list->setAcceptDrops(true);
    m_list->setDropIndicatorShown(true);
    m_list->setDragDropMode(QAbstractItemView::DragDrop);
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->setAccessibleName(QStringLiteral("Pagine"));
    m_summary->setObjectName(QStringLiteral("PageSummary"));
    m_summary->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    layout->setContentsMargins(margin, margin, 0, margin);
    layout->addWidget(caption);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_summary);

    const auto list = Qt::WidgetWithChildrenShortcut;
    const auto window = Qt::WindowShortcut;
    addOperation(QStringLiteral("Sposta &su"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
                 window, [this] { apply([this] { return m_pages.moveUp(selectedPages()); }); });
    addOperation(QStringLiteral("Sposta gi\u00F9"),
                 {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)}, window,
                 [this] { apply([this] { return m_pages.moveDown(selectedPages()); }); });
    addOperation(QStringLiteral("&Duplica"), {QKeySequence(Qt::CTRL | Qt::Key_D)}, window,
                 [this] { apply([this] { return m_pages.duplicate(selectedPages()); }); });
    addOperation(QStringLiteral("&Taglia"), QKeySequence::keyBindings(QKeySequence::Cut), list,
                 [this] { copy(true); });
    addOperation(QStringLiteral("&Copia"), QKeySequence::keyBindings(QKeySequence::Copy), list,
                 [this] { copy(false); });
    m_paste =
        addOperation(QStringLiteral("&Incolla"), QKeySequence::keyBindings(QKeySequence::Paste),
                     list, [this] { paste(); });
    addOperation(QStringLiteral("&Elimina"), {QKeySequence(Qt::Key_Delete)}, list,
                 [this] { apply([this] { return m_pages.remove(selectedPages()); }); });

    m_list->onMove = [this](int before) {
        apply([this, before] { return m_pages.moveTo(selectedPages(), before); });
    };
    m_list->onContextMenu = [this](const QPoint& at) {
        QMenu menu(this);
        menu.addActions(m_actions);
        menu.exec(at);
    };
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& now) {
                if (m_following || !now.isValid()) return;
                keepingFocus([this, page = now.row() + 1] {
                    m_binder.run([this, page] { m_pages.choose(page); });
                });
            });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateActions(); });
    connect(&m_binder, &ControlBinder::pushed, this, &PageListView::refresh);
    refresh();
}

QAction* PageListView::addOperation(const QString& text, const QList<QKeySequence>& keys,
                                    Qt::ShortcutContext context, std::function<void()> run) {
    auto* action = new QAction(text, this);
    action->setShortcuts(keys);
    action->setShortcutContext(context);
    connect(action, &QAction::triggered, this, std::move(run));
    // The list's own keys work while it has the focus; the window's wherever the focus is.
    (context == Qt::WindowShortcut ? static_cast<QWidget*>(this) : m_list)->addAction(action);
    m_actions << action;
    return action;
}

std::vector<int> PageListView::selectedPages() const {
    std::vector<int> pages;
    if (isVisible()) {
        for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
            pages.push_back(index.row() + 1);
        std::sort(pages.begin(), pages.end());
    }
    if (pages.empty() && m_pages.shownPage() > 0) pages.push_back(m_pages.shownPage());
    return pages;
}

void PageListView::apply(const std::function<PageList::Outcome()>& operation) {
    PageList::Outcome outcome;
    keepingFocus([&] {
        m_binder.run([&] { outcome = operation(); });
        refresh();
        if (outcome.changed) select(outcome.selection, outcome.shown);
    });
}

void PageListView::keepingFocus(const std::function<void()>& action) {
    // Loading a page whose upper row is full sends the focus on to the lower row, as typing it
    // would; walking the list must not lose the focus to that.
    const bool listHadFocus = m_list->hasFocus();
    action();
    if (listHadFocus && !m_list->hasFocus()) m_list->setFocus(Qt::OtherFocusReason);
}

void PageListView::select(const std::vector<int>& pages, int current) {
    m_following = true;
    QItemSelection selection;
    for (int page : pages) {
        if (page < 1 || page > m_rows->rowCount()) continue;
        const QModelIndex index = m_rows->index(page - 1);
        selection.select(index, index);
    }
    QItemSelectionModel* model = m_list->selectionModel();
    if (current >= 1 && current <= m_rows->rowCount()) {
        const QModelIndex index = m_rows->index(current - 1);
        model->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        m_list->scrollTo(index);
    } else {
        model->clearCurrentIndex();
    }
    model->select(selection, QItemSelectionModel::ClearAndSelect);
    m_following = false;
    updateActions();
}

void PageListView::refresh() {
    m_rows->refresh();
    const QString summary = toQt(m_pages.summary());
    if (m_summary->text() != summary) m_summary->setText(summary);
    // The row of the page shown is the current one; a selection that holds it is kept.
    const int shown = m_pages.shownPage();
    const QModelIndex current = m_list->currentIndex();
    if (shown == 0) {
        if (current.isValid() || m_list->selectionModel()->hasSelection()) select({}, 0);
    } else if (current.row() != shown - 1) {
        const bool kept = m_list->selectionModel()->isRowSelected(shown - 1);
        std::vector<int> pages{shown};
        if (kept) {
            pages.clear();
            for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
                pages.push_back(index.row() + 1);
        }
        select(pages, shown);
    }
    updateActions();
}

void PageListView::copy(bool cut) {
    const std::vector<int> pages = selectedPages();
    if (pages.empty()) return;
    QApplication::clipboard()->setMimeData(m_rows->pagesData(pages));
    if (cut) apply([this, pages] { return m_pages.cut(pages); });
}

void PageListView::paste() {
    const QMimeData* held = QApplication::clipboard()->mimeData();
    std::string file;
    std::string lines;
    if (held && held->hasFormat(kPagesType)) {
        const QByteArray bytes = held->data(kPagesType);
        file.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    } else if (held) {
        lines = fromQt(held->text());
    }
    const std::vector<int> pages = selectedPages();
    // After the last page selected; with none, after the last page of the sequence.
    const int after = pages.empty() ? m_pages.count() : pages.back();
    apply([&] { return m_pages.paste(file, lines, after); });
}

void PageListView::updateActions() {
    const bool any = m_pages.count() > 0 && !selectedPages().empty();
    for (QAction* action : m_actions) {
        // "Incolla" works with no page at all.
        if (action != m_paste) action->setEnabled(any);
    }
}

}  // namespace velora
