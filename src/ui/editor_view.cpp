#include "editor_view.h"

#include <utility>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "artwork.h"
#include "busy_input.h"
#include "editor_led_panel.h"
#include "page_list_view.h"
#include "qt_text.h"

namespace velora {
namespace {

// The sign's rows are drawn in a bold sans-serif face; Liberation Sans has Arial's metrics.
QFont signFont(int pointSize) {
    QFont font(QStringLiteral("Liberation Sans"), pointSize, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    return font;
}

// The page selector draws the focus mark that the styles leave out for scroll bars, so that a
// keyboard user sees where Tab has arrived.
class PageSelector : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void paintEvent(QPaintEvent* event) override {
        QScrollBar::paintEvent(event);
        if (!hasFocus()) return;
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
    void focusInEvent(QFocusEvent* event) override {
        QScrollBar::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QScrollBar::focusOutEvent(event);
        update();
    }
};

// Keeps a row's caption shown exactly while its row is: the mode shows two rows or one big one.
class FollowRow : public QObject {
public:
    FollowRow(QWidget* row, QWidget* caption) : QObject(caption), m_row(row), m_caption(caption) {
        row->installEventFilter(this);
        caption->setVisible(!row->isHidden());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Show:
            case QEvent::Hide:
            case QEvent::ShowToParent:
            case QEvent::HideToParent:
                m_caption->setVisible(!m_row->isHidden());
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_row;
    QWidget* m_caption;
};

QLineEdit* signRow(QWidget* parent, int pointSize) {
    auto* row = new QLineEdit(parent);
    row->setFont(signFont(pointSize));
    row->setFrame(true);
    return row;
}

}  // namespace

EditorView::EditorView(EditorWindow& model, EventGate& gate, QWidget* parent)
    : QMainWindow(parent), m_model(model), m_binder(model.services(), gate, this) {
    m_binder.bind(this, m_model.window);
    buildMenus();
    buildEditMenu();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildDisplay());
    m_ledPanel = new EditorLedPanel(m_model, m_binder,
                                    {findChild<QLineEdit*>(QStringLiteral("Text1")),
                                     findChild<QLineEdit*>(QStringLiteral("Text2")),
                                     findChild<QLineEdit*>(QStringLiteral("Text3"))},
                                    central);
    layout->addWidget(m_ledPanel);
    layout->addWidget(buildControls());
    setCentralWidget(central);
    // The status line tells that a save worked, without a dialog to close.
    auto* saveNotice = new QLabel(this);
    saveNotice->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(saveNotice);
    m_binder.bind(saveNotice, m_model.saveNotice);

    // During the preview the rows only show the sign: no text cursor, no selection, and the
    // user's input goes nowhere but to the stop.
    QList<QLineEdit*> rows;
    for (const TextBox* box : {&m_model.Text1, &m_model.Text2, &m_model.Text3, &m_model.Text6})
        rows << qobject_cast<QLineEdit*>(m_binder.widgetFor(box));
    m_rows = rows;
    for (QLineEdit* row : rows) row->installEventFilter(this);
    m_binder.onSynced = [this, rows] {
        const bool playing = m_model.state().PreviewRunning == 1;
        for (QLineEdit* row : rows) {
            if (row->isReadOnly() != playing) row->setReadOnly(playing);
            if (playing && row->hasSelectedText()) row->deselect();
        }
    };
    // While the preview plays, only its stop takes input; closing a window goes to that window
    // as always.
    BusyInput::Options busy;
    busy.busy = [this] { return m_model.state().PreviewRunning == 1; };
    busy.stop = findChild<QPushButton*>(QStringLiteral("Anteprima"));
    busy.onEscape = [this] { m_binder.run([this] { m_model.Anteprima.click(); }); };
    busy.closePasses = true;
    m_busyInput = std::make_unique<BusyInput>(std::move(busy));

    auto* timer1 = new QTimer(this);
    timer1->setTimerType(Qt::PreciseTimer);
    m_binder.bind(timer1, m_model.Timer1);
    auto* timer2 = new QTimer(this);
    m_binder.bind(timer2, m_model.Timer2);
}

QAction* EditorView::action(const std::string& name) const {
    const auto found = m_actions.find(name);
    return found == m_actions.end() ? nullptr : found->second;
}

void EditorView::addPageList(PageListView* list) {
    m_pageList = list;
    QWidget* editor = takeCentralWidget();
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("PageListSplitter"));
    splitter->addWidget(list);
    splitter->addWidget(editor);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setCollapsible(1, false);
    setCentralWidget(splitter);
    // The window opens with the focus in the rows, ready for typing; the list comes last on Tab.
    setTabOrder(m_binder.widgetFor(&m_model.Picture1), list->list());

    auto* edit = findChild<QMenu*>(QStringLiteral("mnuModifica"));
    edit->addSeparator();
    edit->addActions(list->pageActions());

    const QString shownKey = QStringLiteral("pageList/shown");
    const QString widthKey = QStringLiteral("pageList/width");
    auto* view = new QMenu(QStringLiteral("Vis&ualizza"), this);
    view->setObjectName(QStringLiteral("mnuVisualizza"));
    menuBar()->insertMenu(menuBar()->actions().last(), view);
    QAction* shown = view->addAction(QStringLiteral("Elenco &pagine"));
    shown->setObjectName(QStringLiteral("mnuElencoPagine"));
    shown->setCheckable(true);
    // The list opens as wide as the user left it, or as its pictures need.
    // It takes its width from the editor's side; the window widens only where the page's rows
    // would be squeezed.
    auto giveWidth = [this, splitter, list, editor, widthKey] {
        const int remembered = QSettings().value(widthKey, 0).toInt();
        const int width = remembered > 0 ? remembered : list->sizeHint().width();
        const int rest = std::max(splitter->width() - splitter->handleWidth() - width,
                                  editor->minimumSizeHint().width());
        const int missing = width + rest + splitter->handleWidth() - splitter->width();
        // Never past the screen's edge: on a small screen the list is narrower, its pictures
        // smaller.
        const int room = screen()->availableGeometry().width() - frameGeometry().width();
        if (missing > 0 && room > 0 && !isMaximized() && !isFullScreen()) {
            resize(this->width() + std::min(missing, room), height());
            // A window not shown yet has its new size at once: laid out at it, the splitter
            // shares out its whole width.
            if (!isVisible()) layOutHidden();
        }
        splitter->setSizes({width, rest});
    };
    shown->setChecked(QSettings().value(shownKey, true).toBool());
    list->setVisible(shown->isChecked());
    // Sizes given before the window is laid out are only shares of a width not known yet: the
    // window is laid out at its opening size first, then the list gets its width, all before
    // the window appears, so that it appears as wide as it stays.
    m_openingSize = [this, list, giveWidth] {
        if (list->isHidden()) return;
        if (!testAttribute(Qt::WA_Resized)) adjustSize();
        layOutHidden();
        giveWidth();
    };
    connect(shown, &QAction::toggled, this, [this, list, shownKey, giveWidth](bool on) {
        list->setVisible(on);
        QSettings().setValue(shownKey, on);
        if (on) {
            giveWidth();
            list->refresh();
        } else if (list->isAncestorOf(QApplication::focusWidget())) {
            // The focus leaves the hidden list for the page's rows.
            if (QWidget* row = m_binder.widgetFor(&m_model.Text1); row && row->isVisible())
                row->setFocus();
            else
                focusNextChild();
        }
    });
    connect(splitter, &QSplitter::splitterMoved, this, [list, widthKey] {
        if (list->isVisible()) QSettings().setValue(widthKey, list->width());
    });
}

void EditorView::layOutHidden() {
    // Resizing a hidden window lays out nothing by itself.
    layout()->invalidate();
    layout()->activate();
}

void EditorView::setVisible(bool visible) {
    if (visible && m_openingSize) std::exchange(m_openingSize, nullptr)();
    QMainWindow::setVisible(visible);
}

void EditorView::buildMenus() {
    auto addItem = [this](QMenu* menu, Button& item) {
        QAction* action = menu->addAction(toQt(item.caption()));
        m_binder.bind(action, item);
        m_actions[item.name()] = action;
    };
    QMenu* file = menuBar()->addMenu(toQt(m_model.mnuFile.caption()));
    file->setObjectName(QStringLiteral("mnuFile"));
    addItem(file, m_model.mnunextApri);
    addItem(file, m_model.mnunextSalva);
    addItem(file, m_model.mnuNom);
    addItem(file, m_model.Salv_Impost);
    addItem(file, m_model.mnuInsegne);
    addItem(file, m_model.mnunextNuovo);
    addItem(file, m_model.mnunextfinE);
    QMenu* help = menuBar()->addMenu(toQt(m_model.mnuaiuto.caption()));
    help->setObjectName(QStringLiteral("mnuaiuto"));
    addItem(help, m_model.mnueHelp);
}

void EditorView::buildEditMenu() {
    auto* edit = new QMenu(toQt(m_model.mnuModifica.caption()), this);
    edit->setObjectName(QStringLiteral("mnuModifica"));
    QAction* help = nullptr;
    for (QAction* menu : menuBar()->actions()) {
        if (menu->menu() && menu->menu()->objectName() == QStringLiteral("mnuaiuto")) help = menu;
    }
    menuBar()->insertMenu(help, edit);
    auto addItem = [this, edit](Button& item, QList<QKeySequence> keys) {
        QAction* action = edit->addAction(toQt(item.caption()));
        m_binder.bind(action, item);
        action->setShortcuts(keys);
        m_actions[item.name()] = action;
    };
    addItem(m_model.mnuAnnulla, QKeySequence::keyBindings(QKeySequence::Undo));
    QList<QKeySequence> redo = QKeySequence::keyBindings(QKeySequence::Redo);
    const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y);
    if (!redo.contains(ctrlY)) redo << ctrlY;
    addItem(m_model.mnuRipeti, redo);
}

bool EditorView::eventFilter(QObject* watched, QEvent* event) {
    // A row box takes the undo and redo keys for its own typing; with no typing to take back
    // (or to do again) the keys go on to the menu, which acts on the sequence.
    if (event->type() == QEvent::ShortcutOverride) {
        for (QLineEdit* row : m_rows) {
            if (row != watched) continue;
            const auto* key = static_cast<QKeyEvent*>(event);
            const QKeySequence pressed(key->keyCombination());
            const bool undo = QKeySequence::keyBindings(QKeySequence::Undo).contains(pressed);
            const bool redo = QKeySequence::keyBindings(QKeySequence::Redo).contains(pressed) ||
                              pressed == QKeySequence(Qt::CTRL | Qt::Key_Y);
            if ((undo && !row->isUndoAvailable()) || (redo && !row->isRedoAvailable())) return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QWidget* EditorView::buildDisplay() {
    auto* display = new QFrame(this);
    display->setObjectName(QStringLiteral("Label9"));
    auto* grid = new QGridLayout(display);

    // Text3 and Text6 lie over the area of both rows; the mode decides which are shown.
    auto* text1 = signRow(display, 21);
    auto* text2 = signRow(display, 21);
    auto* text3 = signRow(display, 48);
    auto* text6 = signRow(display, 48);
    text3->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    text6->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    grid->addWidget(text1, 0, 1);
    grid->addWidget(text2, 1, 1);
    grid->addWidget(text3, 0, 1, 2, 1);
    grid->addWidget(text6, 0, 1, 2, 1);
    m_binder.bind(text1, m_model.Text1);
    m_binder.bind(text2, m_model.Text2);
    m_binder.bind(text3, m_model.Text3);
    m_binder.bind(text6, m_model.Text6);

    auto* lenRiga1 = new QLabel(display);
    auto* lenRiga2 = new QLabel(display);
    auto* lenRigaUn = new QLabel(display);
    for (QLabel* counter : {lenRiga1, lenRiga2, lenRigaUn}) counter->setMinimumWidth(32);
    grid->addWidget(lenRiga1, 0, 2);
    grid->addWidget(lenRiga2, 1, 2);
    grid->addWidget(lenRigaUn, 0, 2, 2, 1);
    m_binder.bind(lenRiga1, m_model.LenRiga1);
    m_binder.bind(lenRiga2, m_model.LenRiga2);
    m_binder.bind(lenRigaUn, m_model.LenRigaUn);
    addRowCaptions(grid, {text1, text2, text3});
    grid->setColumnStretch(1, 1);
    return display;
}

QWidget* EditorView::buildControls() {
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    auto label = [this, panel](Label& model) {
        auto* widget = new QLabel(panel);
        m_binder.bind(widget, model);
        return widget;
    };
    auto button = [this, panel](Button& model) {
        auto* widget = new QPushButton(panel);
        m_binder.bind(widget, model);
        return widget;
    };
    auto pictureButton = [this, panel](Button& model, const QIcon& icon) {
        auto* widget = new QToolButton(panel);
        widget->setIcon(icon);
        widget->setIconSize(QSize(24, 24));
        widget->setAutoRaise(true);
        m_binder.bind(widget, model);
        return widget;
    };
    auto check = [this, panel](CheckBox& model) {
        auto* widget = new QCheckBox(panel);
        m_binder.bind(widget, model);
        return widget;
    };

    // Page selector row.
    auto* selector = new PageSelector(Qt::Horizontal, panel);
    m_binder.bind(selector, m_model.VScroll1);
    // The selector has neither caption nor tooltip; screen readers name it by the label beside it.
    selector->setAccessibleName(toQt(m_model.Label4.caption()));
    grid->addWidget(label(m_model.Label4), 0, 0);
    grid->addWidget(label(m_model.NumQua), 0, 1);
    grid->addWidget(selector, 0, 2, 1, 3);
    grid->addWidget(pictureButton(m_model.Picture2, insertPageIcon()), 0, 5);
    grid->addWidget(pictureButton(m_model.Picture1, deletePageIcon()), 0, 6);
    grid->addWidget(label(m_model.Label6), 1, 0);
    grid->addWidget(label(m_model.txtmax), 1, 1);

    // Mode group.
    auto* frame = new QGroupBox(panel);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* modes = new QVBoxLayout(frame);
    modes->addWidget(label(m_model.Label8));
    auto* option1 = new QRadioButton(frame);
    auto* option2 = new QRadioButton(frame);
    m_binder.bind(option1, m_model.Option1);
    m_binder.bind(option2, m_model.Option2);
    modes->addWidget(option1);
    modes->addWidget(option2);
    grid->addWidget(frame, 2, 0, 3, 2);

    grid->addWidget(check(m_model.Scor1), 2, 2);
    grid->addWidget(check(m_model.Scor2), 3, 2);
    grid->addWidget(check(m_model.Gra_Inv), 4, 2);
    grid->addWidget(button(m_model.InfoR1), 2, 3);
    grid->addWidget(button(m_model.InfoR2), 3, 3);
    grid->addWidget(button(m_model.Command2), 4, 3);
    grid->addWidget(button(m_model.Command6), 5, 3);

    auto* combo = new QComboBox(panel);
    m_binder.bind(combo, m_model.Combo1);
    // On Linux a combo box reads out its value as its name and takes its label from the buddy
    // relation.
    QLabel* pauseCaption = label(m_model.Label2);
    pauseCaption->setBuddy(combo);
    grid->addWidget(pauseCaption, 2, 4);
    grid->addWidget(combo, 2, 5, 1, 2);

    grid->addWidget(button(m_model.cmdinserisci), 3, 4, 1, 3);
    grid->addWidget(button(m_model.Anteprima), 4, 4, 1, 3);
    grid->addWidget(button(m_model.Command1), 5, 4, 1, 3);

    // Status line.
    grid->addWidget(label(m_model.Label5), 6, 0);
    grid->addWidget(label(m_model.Label7), 6, 1, 1, 2);
    grid->addWidget(label(m_model.Label1), 6, 3);
    grid->addWidget(label(m_model.Label3), 6, 4);
    grid->addWidget(label(m_model.signName), 6, 5, 1, 2);
    grid->addWidget(label(m_model.txtora), 7, 0, 1, 7);

    setAccessKeys();
    // The Tab key follows the way a page is composed, from its rows to the button that stores
    // it; the buttons that insert and delete whole pages come after, out of that path.
    QWidget* previous = nullptr;
    for (const Control* control : std::initializer_list<const Control*>{
             &m_model.Text1, &m_model.Text2, &m_model.Text3, &m_model.Scor1, &m_model.Scor2,
             &m_model.Gra_Inv, &m_model.Combo1, &m_model.cmdinserisci, &m_model.VScroll1,
             &m_model.Option1, &m_model.Option2, &m_model.InfoR1, &m_model.InfoR2,
             &m_model.Command2, &m_model.Anteprima, &m_model.Command1, &m_model.Command6,
             &m_model.Picture2, &m_model.Picture1}) {
        QWidget* next = m_binder.widgetFor(control);
        if (previous) setTabOrder(previous, next);
        previous = next;
    }
    return panel;
}

void EditorView::addRowCaptions(QGridLayout* grid, const std::array<QLineEdit*, 3>& rows) {
    // The rows have no caption of their own; these give each an access key, with letters that
    // no other control of the window uses, and name the rows for screen readers.
    const std::array<QString, 3> captions{QStringLiteral("Riga in a&lto"),
                                          QStringLiteral("Riga in &basso"),
                                          QStringLiteral("Riga grand&e")};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto* caption = new QLabel(captions[i], grid->parentWidget());
        caption->setObjectName(QStringLiteral("captionText%1").arg(i + 1));
        caption->setBuddy(rows[i]);
        new FollowRow(rows[i], caption);
        if (i < 2)
            grid->addWidget(caption, static_cast<int>(i), 0);
        else
            grid->addWidget(caption, 0, 0, 2, 1);
    }
}

void EditorView::setAccessKeys() {
    // Each letter once in the window: the menu bar holds F and "?", and two items of the File
    // menu shared N. The captions keep their letters; only the marker moves.
    m_binder.setAccessKey(m_model.mnuNom, 'c');
    m_binder.setAccessKey(m_model.InfoR1, '1');
    m_binder.setAccessKey(m_model.InfoR2, '2');
    m_binder.setAccessKey(m_model.Command6, 'M');
    m_binder.setAccessKey(m_model.Scor1, 'S');
    m_binder.setAccessKey(m_model.Scor2, 'c');
    m_binder.setAccessKey(m_model.Gra_Inv, 'v');
    m_binder.setAccessKey(m_model.Option1, 'R');
    m_binder.setAccessKey(m_model.Option2, 'g');
    m_binder.setAccessKey(m_model.Label2, 'T');
}

}  // namespace velora
