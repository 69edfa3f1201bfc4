#include "ui/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSet>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <algorithm>
#include <string>

#include "ui/qt_windows.h"
#include "ui/tree_tooltips.h"

namespace orv::ui {

namespace {

// Shows an image at its own size from the top-left corner. It paints the image as it
// is, so a scope redrawn 48 times a second costs no conversion to a pixmap.
class ImageView : public QWidget {
public:
    explicit ImageView(QWidget* parent) : QWidget(parent) {}
    void SetImage(const QImage& image) {
        image_ = image;
        UpdateOpaque();
        update();
    }
    void SetImage(const QImage& image, const QRect& changed) {
        image_ = image;
        UpdateOpaque();
        update(changed);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        UpdateOpaque();
    }

private:
    // An opaque image that covers the whole widget hides what lies below: Qt then
    // skips painting the window's background under it on every repaint.
    void UpdateOpaque() {
        const bool covers =
            !image_.hasAlphaChannel() && image_.width() >= width() && image_.height() >= height();
        if (testAttribute(Qt::WA_OpaquePaintEvent) != covers)
            setAttribute(Qt::WA_OpaquePaintEvent, covers);
    }

    QImage image_;
};

// An image that reports a click as a control event.
class ImageButton final : public ImageView {
public:
    ImageButton(Gui& gui, int window, int number, QWidget* parent)
        : ImageView(parent), gui_(gui), window_(window), number_(number) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            gui_.pending.push_back({EventKind::Control, number_, window_});
        }
    }

private:
    Gui& gui_;
    int window_;
    int number_;
};

// A tree reports a change of its selected entry, and also a press on the entry that is
// selected already: after the record moved elsewhere, the user clicks that entry to go
// back to it, and Qt reports no change then. A press on the fold button is no choice.
class RecordTree final : public QTreeWidget {
public:
    RecordTree(Gui& gui, int window, int number, QWidget* parent)
        : QTreeWidget(parent), gui_(gui), window_(window), number_(number) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QTreeWidgetItem* const selected = currentItem();
        const QPoint at = event->position().toPoint();
        const bool onSelected = event->button() == Qt::LeftButton && selected != nullptr &&
                                itemAt(at) == selected && visualItemRect(selected).contains(at);
        QTreeWidget::mousePressEvent(event);
        if (onSelected && currentItem() == selected)
            gui_.pending.push_back({EventKind::Control, number_, window_});
    }

private:
    Gui& gui_;
    int window_;
    int number_;
};

// A push button draws its text on one line; a wrapped caption is a label on top of it
// that lets the clicks through.
constexpr const char* kCaptionName = "orvCaption";

QLabel* WrappedCaption(const QWidget* widget) {
    return widget->findChild<QLabel*>(kCaptionName, Qt::FindDirectChildrenOnly);
}

QColor ToQColor(std::int64_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

Control* FindQuietly(const Gui& gui, int number) {
    auto& controls = gui.windows->controls;
    const auto it = controls.find(number);
    return it == controls.end() ? nullptr : &it->second;
}

// The control a call acts on; a missing one is the caller's mistake.
Control* Find(const Gui& gui, int number) {
    Control* control = FindQuietly(gui, number);
    if (control == nullptr)
        ReportMisuse(gui, "no control " + std::to_string(number));
    return control;
}

// The control as the widget a call needs; another kind is the caller's mistake.
template <class Widget>
Widget* As(const Gui& gui, int number) {
    const Control* control = Find(gui, number);
    if (control == nullptr)
        return nullptr;
    auto* widget = qobject_cast<Widget*>(control->widget);
    if (widget == nullptr)
        ReportMisuse(gui, "control " + std::to_string(number) + " is of another kind");
    return widget;
}

QWidget* MakeWidget(Gui& gui, int window, int number, ControlKind kind, const std::string& text,
                    QWidget* parent) {
    const QString label = QString::fromStdString(text);
    auto report = [&gui, window, number] {
        gui.pending.push_back({EventKind::Control, number, window});
    };
    switch (kind) {
        case ControlKind::Panel: {
            auto* panel = new QWidget(parent);
            panel->setAutoFillBackground(true);
            return panel;
        }
        case ControlKind::Label:
            return new QLabel(label, parent);
        case ControlKind::Button:
        case ControlKind::ToggleButton: {
            auto* button = new QPushButton(label, parent);
            button->setCheckable(kind == ControlKind::ToggleButton);
            button->setFocusPolicy(Qt::NoFocus);
            QObject::connect(button, &QPushButton::clicked, report);
            return button;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(label, parent);
            box->setFocusPolicy(Qt::NoFocus);
            QObject::connect(box, &QCheckBox::clicked, report);
            return box;
        }
        case ControlKind::List: {
            auto* list = new QComboBox(parent);
            list->setFocusPolicy(Qt::NoFocus);
            QObject::connect(list, &QComboBox::activated, report);
            return list;
        }
        case ControlKind::ImageArea: {
            auto* area = new ImageView(parent);
            area->setAttribute(Qt::WA_TransparentForMouseEvents);
            return area;
        }
        case ControlKind::ImageButton:
            return new ImageButton(gui, window, number, parent);
        case ControlKind::Tree: {
            auto* tree = new RecordTree(gui, window, number, parent);
            tree->setHeaderHidden(true);
            tree->setRootIsDecorated(true);
            QObject::connect(tree, &QTreeWidget::currentItemChanged, report);
            return tree;
        }
        case ControlKind::TextField:
            return new QLineEdit(label, parent);
    }
    return nullptr;
}

// The top-level items the user or CollapseTree folded. Qt forgets an item's fold when
// the item is taken out of the tree, so the fills note them before moving items and
// fold them again afterwards; an item new to the top level opens.
using Folds = QSet<const QTreeWidgetItem*>;

Folds FoldedTops(const QTreeWidget* tree) {
    Folds folded;
    for (int k = 0; k < tree->topLevelItemCount(); ++k) {
        const QTreeWidgetItem* top = tree->topLevelItem(k);
        if (!top->isExpanded())
            folded.insert(top);
    }
    return folded;
}

// Puts each tree item under the right parent at the right place for its flat index,
// moving only the items that are not there already.
void Restructure(QTreeWidget* tree, std::vector<TreeItem>& entries, const Folds& folded) {
    QTreeWidgetItem* parent = nullptr;
    int topIndex = 0;
    int childIndex = 0;
    for (TreeItem& entry : entries) {
        QTreeWidgetItem* item = entry.item;
        const bool top = entry.entry.level == 0 || parent == nullptr;
        QTreeWidgetItem* wantedParent = top ? nullptr : parent;
        const int wantedIndex = top ? topIndex : childIndex;
        QTreeWidgetItem* currentParent = item->parent();
        const int currentIndex = currentParent != nullptr ? currentParent->indexOfChild(item)
                                                          : tree->indexOfTopLevelItem(item);
        if (currentParent != wantedParent || currentIndex != wantedIndex) {
            if (currentParent != nullptr) {
                currentParent->takeChild(currentIndex);
            } else if (currentIndex >= 0) {
                tree->takeTopLevelItem(currentIndex);
            }
            if (wantedParent != nullptr) {
                wantedParent->insertChild(wantedIndex, item);
            } else {
                tree->insertTopLevelItem(wantedIndex, item);
            }
        }
        // Items not yet visited may sit where this one goes; they are pushed down and
        // moved to their own places when their turn comes.
        if (top) {
            parent = item;
            ++topIndex;
            childIndex = 0;
        } else {
            ++childIndex;
        }
    }
    for (TreeItem& entry : entries) {
        if (entry.entry.level == 0)
            entry.item->setExpanded(!folded.contains(entry.item));
    }
}

}  // namespace

bool CreateControl(Gui& gui, int window, int number, ControlKind kind, const Rect& rect,
                   const std::string& text, int panel) {
    Window* w = FindWindow(gui, window);
    if (w == nullptr)
        return false;
    if (FindQuietly(gui, number) != nullptr) {
        ReportMisuse(gui, "control number " + std::to_string(number) + " is taken");
        return false;
    }
    QWidget* parent = w->area();
    if (panel != 0) {
        const Control* holder = Find(gui, panel);
        if (holder == nullptr || holder->window != window)
            return false;
        parent = holder->widget;
    }
    QWidget* widget = MakeWidget(gui, window, number, kind, text, parent);
    widget->setGeometry(rect.x, rect.y, rect.width, rect.height);
    widget->show();
    gui.windows->controls[number] = Control{kind, window, widget, {}, {}};
    return true;
}

bool ControlExists(const Gui& gui, int number) {
    return FindQuietly(gui, number) != nullptr;
}

void SetControlText(Gui& gui, int number, const std::string& text) {
    Control* control = Find(gui, number);
    if (control == nullptr)
        return;
    const QString value = QString::fromStdString(text);
    if (auto* label = qobject_cast<QLabel*>(control->widget)) {
        label->setText(value);
    } else if (QLabel* caption = WrappedCaption(control->widget)) {
        caption->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control->widget)) {
        button->setText(value);
    } else if (auto* field = qobject_cast<QLineEdit*>(control->widget)) {
        field->setText(value);
    } else {
        ReportMisuse(gui, "control " + std::to_string(number) + " shows no text");
    }
}

std::string ControlText(const Gui& gui, int number) {
    const Control* control = Find(gui, number);
    if (control == nullptr)
        return {};
    if (auto* label = qobject_cast<QLabel*>(control->widget))
        return label->text().toStdString();
    if (const QLabel* caption = WrappedCaption(control->widget))
        return caption->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(control->widget)) {
        return button->text().toStdString();
    }
    if (auto* field = qobject_cast<QLineEdit*>(control->widget))
        return field->text().toStdString();
    if (auto* list = qobject_cast<QComboBox*>(control->widget)) {
        return list->currentText().toStdString();
    }
    return {};
}

void SetControlTooltip(Gui& gui, int number, const std::string& tip) {
    if (Control* control = Find(gui, number)) {
        control->widget->setToolTip(QString::fromStdString(tip));
    }
}

std::string ControlTooltip(const Gui& gui, int number) {
    const Control* control = Find(gui, number);
    return control != nullptr ? control->widget->toolTip().toStdString() : std::string();
}

void SetControlRect(Gui& gui, int number, const Rect& rect) {
    if (Control* control = Find(gui, number)) {
        control->widget->setGeometry(rect.x, rect.y, rect.width, rect.height);
    }
}

Rect ControlRect(const Gui& gui, int number) {
    const Control* control = Find(gui, number);
    if (control == nullptr)
        return {};
    const QRect r = control->widget->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

int ChildrenBottom(const Gui& gui, int panel) {
    const Control* control = Find(gui, panel);
    if (control == nullptr)
        return 0;
    const QRect children = control->widget->childrenRect();  // shown children only
    return children.isEmpty() ? 0 : children.y() + children.height();
}

void SetControlVisible(Gui& gui, int number, bool visible) {
    if (Control* control = Find(gui, number))
        control->widget->setVisible(visible);
}

bool IsControlVisible(const Gui& gui, int number) {
    const Control* control = Find(gui, number);
    return control != nullptr && !control->widget->isHidden();
}

void SetControlEnabled(Gui& gui, int number, bool enabled) {
    if (Control* control = Find(gui, number))
        control->widget->setEnabled(enabled);
}

bool IsControlEnabled(const Gui& gui, int number) {
    const Control* control = Find(gui, number);
    return control != nullptr && control->widget->isEnabled();
}

void SetControlColours(Gui& gui, int number, std::int64_t text, std::int64_t background) {
    Control* control = Find(gui, number);
    if (control == nullptr)
        return;
    QPalette palette = control->widget->palette();
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) {
        palette.setColor(role, ToQColor(text));
    }
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) {
        palette.setColor(role, ToQColor(background));
    }
    control->widget->setPalette(palette);
    control->widget->setAutoFillBackground(true);
}

void SetControlFont(Gui& gui, int number, const FontSpec& font) {
    Control* control = Find(gui, number);
    if (control == nullptr)
        return;
    QFont qfont(QString::fromStdString(font.family), font.points);
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    control->widget->setFont(qfont);
}

void SetControlAlignment(Gui& gui, int number, TextAlign align) {
    const Control* control = Find(gui, number);
    if (control == nullptr)
        return;
    if (auto* label = qobject_cast<QLabel*>(control->widget)) {
        const Qt::Alignment across = align == TextAlign::Centre  ? Qt::AlignHCenter
                                     : align == TextAlign::Right ? Qt::AlignRight
                                                                 : Qt::AlignLeft;
        label->setAlignment(across | Qt::AlignVCenter);
    } else if (auto* button = qobject_cast<QPushButton*>(control->widget)) {
        // A push button aligns its text only through a style sheet.
        const char* side = align == TextAlign::Centre  ? "center"
                           : align == TextAlign::Right ? "right"
                                                       : "left";
        button->setStyleSheet(QString("QPushButton { text-align: %1; padding: 0 3px; }").arg(side));
    } else if (auto* field = qobject_cast<QLineEdit*>(control->widget)) {
        const Qt::Alignment across = align == TextAlign::Centre  ? Qt::AlignHCenter
                                     : align == TextAlign::Right ? Qt::AlignRight
                                                                 : Qt::AlignLeft;
        field->setAlignment(across | Qt::AlignVCenter);
    } else {
        ReportMisuse(gui, "control " + std::to_string(number) + " is of another kind");
    }
}

void SetControlWordWrap(Gui& gui, int number) {
    const Control* control = Find(gui, number);
    if (control == nullptr)
        return;
    if (auto* label = qobject_cast<QLabel*>(control->widget)) {
        label->setWordWrap(true);
    } else if (auto* button = qobject_cast<QPushButton*>(control->widget)) {
        if (WrappedCaption(button) != nullptr)
            return;
        auto* caption = new QLabel(button->text(), button);
        caption->setObjectName(kCaptionName);
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignCenter);
        caption->setAttribute(Qt::WA_TransparentForMouseEvents);
        caption->setFont(button->font());
        caption->setGeometry(button->rect().adjusted(3, 2, -3, -2));
        caption->show();
        button->setText({});
    } else {
        ReportMisuse(gui, "control " + std::to_string(number) + " is of another kind");
    }
}

void SetControlReadOnly(Gui& gui, int number, bool readOnly) {
    if (auto* field = As<QLineEdit>(gui, number))
        field->setReadOnly(readOnly);
}

bool IsControlReadOnly(const Gui& gui, int number) {
    const auto* field = As<QLineEdit>(gui, number);
    return field != nullptr && field->isReadOnly();
}

void SetDigitsOnly(Gui& gui, int number) {
    if (auto* field = As<QLineEdit>(gui, number)) {
        // The field may still show a text set by the program (a "?" placeholder); what
        // the user types is held to digits.
        field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), field));
    }
}

void SetControlChecked(Gui& gui, int number, bool checked) {
    if (auto* button = As<QAbstractButton>(gui, number)) {
        const QSignalBlocker quiet(button);
        button->setChecked(checked);
    }
}

bool IsControlChecked(const Gui& gui, int number) {
    const auto* button = As<QAbstractButton>(gui, number);
    return button != nullptr && button->isChecked();
}

void SetControlImage(Gui& gui, int number, const QImage& image) {
    Control* control = Find(gui, number);
    if (control == nullptr)
        return;
    control->image = image;
    if (control->kind == ControlKind::ImageArea || control->kind == ControlKind::ImageButton) {
        static_cast<ImageView*>(control->widget)->SetImage(image);
    }
}

void SetControlImage(Gui& gui, int number, const QImage& image, const Rect& changed) {
    Control* control = Find(gui, number);
    if (control == nullptr)
        return;
    control->image = image;
    if (control->kind == ControlKind::ImageArea || control->kind == ControlKind::ImageButton) {
        static_cast<ImageView*>(control->widget)
            ->SetImage(image, QRect(changed.x, changed.y, changed.width, changed.height));
    }
}

QImage ControlImage(const Gui& gui, int number) {
    const Control* control = Find(gui, number);
    return control != nullptr ? control->image : QImage();
}

void SetListItems(Gui& gui, int number, const std::vector<std::string>& items) {
    auto* list = As<QComboBox>(gui, number);
    if (list == nullptr)
        return;
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string& item : items)
        list->addItem(QString::fromStdString(item));
}

std::vector<std::string> ListItems(const Gui& gui, int number) {
    std::vector<std::string> items;
    if (const auto* list = As<QComboBox>(gui, number)) {
        for (int i = 0; i < list->count(); ++i)
            items.push_back(list->itemText(i).toStdString());
    }
    return items;
}

void SetListSelection(Gui& gui, int number, int index) {
    if (auto* list = As<QComboBox>(gui, number)) {
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(index);
    }
}

int ListSelection(const Gui& gui, int number) {
    const auto* list = As<QComboBox>(gui, number);
    return list != nullptr ? list->currentIndex() : -1;
}

int TreeEntryCount(const Gui& gui, int number) {
    const Control* control = Find(gui, number);
    return control != nullptr ? static_cast<int>(control->tree.size()) : 0;
}

TreeEntry TreeEntryAt(const Gui& gui, int number, int index) {
    const Control* control = Find(gui, number);
    if (control == nullptr || index < 0 || index >= static_cast<int>(control->tree.size())) {
        return {};
    }
    return control->tree[static_cast<size_t>(index)].entry;
}

void InsertTreeEntry(Gui& gui, int number, int index, const TreeEntry& entry) {
    Control* control = Find(gui, number);
    auto* tree = control != nullptr ? qobject_cast<QTreeWidget*>(control->widget) : nullptr;
    if (tree == nullptr)
        return;
    const QSignalBlocker quiet(tree);
    const Folds folded = FoldedTops(tree);
    index = std::clamp(index, 0, static_cast<int>(control->tree.size()));
    auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(entry.text)});
    tree->addTopLevelItem(item);
    control->tree.insert(control->tree.begin() + index, TreeItem{entry, item});
    Restructure(tree, control->tree, folded);
}

void RemoveTreeEntry(Gui& gui, int number, int index) {
    Control* control = Find(gui, number);
    auto* tree = control != nullptr ? qobject_cast<QTreeWidget*>(control->widget) : nullptr;
    if (tree == nullptr || index < 0 || index >= static_cast<int>(control->tree.size()))
        return;
    const QSignalBlocker quiet(tree);
    Folds folded = FoldedTops(tree);
    QTreeWidgetItem* item = control->tree[static_cast<size_t>(index)].item;
    folded.remove(item);
    control->tree.erase(control->tree.begin() + index);
    // Its children are listed entries of their own: hand them back before deleting it.
    while (item->childCount() > 0)
        tree->addTopLevelItem(item->takeChild(0));
    delete item;
    Restructure(tree, control->tree, folded);
}

namespace {

void ShowIcon(QtWindows& qt, TreeItem& entry, const QImage& icon) {
    if (icon.isNull() || icon.cacheKey() == entry.iconKey)
        return;
    auto made = qt.icons.find(icon.cacheKey());
    if (made == qt.icons.end())
        made = qt.icons.emplace(icon.cacheKey(), QIcon(QPixmap::fromImage(icon))).first;
    entry.item->setIcon(0, made->second);
    entry.iconKey = icon.cacheKey();
}

// Takes every item out of the tree widget, children included, without deleting any.
void DetachAll(QTreeWidget* tree) {
    const QList<QTreeWidgetItem*> tops = tree->invisibleRootItem()->takeChildren();
    for (QTreeWidgetItem* top : tops)
        top->takeChildren();
}

// Puts the detached items back: each level-1 entry under the level-0 entry before it.
void Relink(QTreeWidget* tree, const std::vector<TreeItem>& entries, const Folds& folded) {
    QList<QTreeWidgetItem*> tops;
    QTreeWidgetItem* parent = nullptr;
    QList<QTreeWidgetItem*> children;
    const auto closeParent = [&] {
        if (parent != nullptr && !children.isEmpty())
            parent->addChildren(children);
        children.clear();
    };
    for (const TreeItem& entry : entries) {
        if (entry.entry.level == 0 || parent == nullptr) {
            closeParent();
            parent = entry.item;
            tops.append(entry.item);
        } else {
            children.append(entry.item);
        }
    }
    closeParent();
    tree->addTopLevelItems(tops);
    for (QTreeWidgetItem* top : tops)
        top->setExpanded(!folded.contains(top));
}

// Selects the item without unfolding its component, which the view would do to show
// it: the view scrolls to the component instead.
void SelectQuietly(QTreeWidget* tree, QTreeWidgetItem* item) {
    const bool autoScroll = tree->hasAutoScroll();
    tree->setAutoScroll(false);
    tree->setCurrentItem(item);
    tree->setAutoScroll(autoScroll);
    if (item == nullptr || !autoScroll)
        return;
    QTreeWidgetItem* shown = item;
    for (QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent()) {
        if (!up->isExpanded())
            shown = up;
    }
    tree->scrollToItem(shown);
}

}  // namespace

void SetTreeEntries(Gui& gui, int number, const std::vector<TreeEntry>& entries,
                    const std::vector<QImage>& icons) {
    auto* tree = As<QTreeWidget>(gui, number);
    if (tree == nullptr)
        return;
    Control& control = *Find(gui, number);
    const QSignalBlocker quiet(tree);
    std::vector<TreeItem>& items = control.tree;
    QTreeWidgetItem* current = tree->currentItem();
    bool relink = entries.size() != items.size();
    Folds folded;
    const bool shrunk = entries.size() < items.size();
    if (shrunk) {
        folded = FoldedTops(tree);
        for (size_t i = entries.size(); i < items.size(); ++i) {
            if (items[i].item == current)
                current = nullptr;
            folded.remove(items[i].item);
        }
        DetachAll(tree);
        for (size_t i = entries.size(); i < items.size(); ++i)
            delete items[i].item;
        items.resize(entries.size());
    }
    items.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const TreeEntry& wanted = entries[i];
        if (i == items.size()) {
            auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(wanted.text)});
            items.push_back(TreeItem{wanted, item, 0});
        } else if (!(items[i].entry == wanted)) {
            if (items[i].entry.text != wanted.text)
                items[i].item->setText(0, QString::fromStdString(wanted.text));
            relink = relink || items[i].entry.level != wanted.level;
            items[i].entry = wanted;
        }
        if (i < icons.size())
            ShowIcon(*gui.windows, items[i], icons[i]);
    }
    if (relink) {
        // Unless the shrink above noted them, the items still sit where they were.
        if (!shrunk)
            folded = FoldedTops(tree);
        DetachAll(tree);
        Relink(tree, items, folded);
        SelectQuietly(tree, current);
    }
}

void SetTreeTooltips(Gui& gui, int number, const std::vector<std::string>& tooltips) {
    Control* control = Find(gui, number);
    if (control == nullptr)
        return;
    for (size_t i = 0; i < control->tree.size(); ++i) {
        const QString wanted =
            i < tooltips.size() ? QString::fromStdString(tooltips[i]) : QString();
        QTreeWidgetItem* item = control->tree[i].item;
        if (item->toolTip(0) != wanted)
            item->setToolTip(0, wanted);
    }
}

std::string TreeTooltip(const Gui& gui, int number, int index) {
    const Control* control = Find(gui, number);
    if (control == nullptr || index < 0 || index >= static_cast<int>(control->tree.size()))
        return {};
    return control->tree[static_cast<size_t>(index)].item->toolTip(0).toStdString();
}

void SetTreeEntryIcon(Gui& gui, int number, int index, const QImage& icon) {
    Control* control = Find(gui, number);
    if (control == nullptr || index < 0 || index >= static_cast<int>(control->tree.size()))
        return;
    TreeItem& entry = control->tree[static_cast<size_t>(index)];
    entry.item->setIcon(0, QIcon(QPixmap::fromImage(icon)));
    entry.iconKey = 0;
}

void ClearTree(Gui& gui, int number) {
    Control* control = Find(gui, number);
    auto* tree = control != nullptr ? qobject_cast<QTreeWidget*>(control->widget) : nullptr;
    if (tree == nullptr)
        return;
    const QSignalBlocker quiet(tree);
    tree->clear();
    control->tree.clear();
}

void SetTreeSelection(Gui& gui, int number, int index) {
    Control* control = Find(gui, number);
    auto* tree = control != nullptr ? qobject_cast<QTreeWidget*>(control->widget) : nullptr;
    if (tree == nullptr)
        return;
    const QSignalBlocker quiet(tree);
    if (index < 0 || index >= static_cast<int>(control->tree.size())) {
        tree->setCurrentItem(nullptr);
        return;
    }
    SelectQuietly(tree, control->tree[static_cast<size_t>(index)].item);
}

void CollapseTree(Gui& gui, int number) {
    if (auto* tree = As<QTreeWidget>(gui, number))
        tree->collapseAll();
}

int TreeSelection(const Gui& gui, int number) {
    const Control* control = Find(gui, number);
    auto* tree = control != nullptr ? qobject_cast<QTreeWidget*>(control->widget) : nullptr;
    if (tree == nullptr || tree->currentItem() == nullptr)
        return -1;
    for (size_t i = 0; i < control->tree.size(); ++i) {
        if (control->tree[i].item == tree->currentItem())
            return static_cast<int>(i);
    }
    return -1;
}

bool AddMenu(Gui& gui, int window, int parentMenu, int menu, const std::string& title) {
    Window* w = FindWindow(gui, window);
    QtWindows& qt = *gui.windows;
    if (w == nullptr || qt.menus.contains(menu))
        return false;
    const QString text = QString::fromStdString(title);
    QMenu* created = nullptr;
    if (parentMenu == 0) {
        created = w->menuBar()->addMenu(text);
    } else {
        const auto parent = qt.menus.find(parentMenu);
        if (parent == qt.menus.end())
            return false;
        created = parent->second.menu->addMenu(text);
    }
    qt.menus[menu] = MenuHolder{window, created};
    return true;
}

namespace {

// Qt takes "&" as the mark of the next letter's mnemonic and "&&" as a "&".
QString LiteralMenuText(const std::string& text) {
    return QString::fromStdString(text).replace('&', "&&");
}

std::string ShownMenuText(const QString& text) {
    std::string shown;
    const std::string raw = text.toStdString();
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '&')
            shown += raw[i];
        else if (i + 1 < raw.size() && raw[i + 1] == '&')
            shown += raw[++i];
    }
    return shown;
}

}  // namespace

bool AddMenuItem(Gui& gui, int window, int menu, int command, const std::string& text,
                 bool checkable) {
    QtWindows& qt = *gui.windows;
    const auto found = qt.menus.find(menu);
    if (found == qt.menus.end() || qt.menuItems.contains(command))
        return false;
    QAction* action = found->second.menu->addAction(LiteralMenuText(text));
    action->setCheckable(checkable);
    QObject::connect(action, &QAction::triggered, [&gui, window, command, action] {
        // Qt has turned the mark over already; the marks show the program's state, which
        // the command sets, and a command that changes nothing must leave them so.
        if (action->isCheckable()) {
            const QSignalBlocker quiet(action);
            action->setChecked(!action->isChecked());
        }
        gui.pending.push_back({EventKind::Menu, command, window});
    });
    qt.menuItems[command] = MenuItem{window, action};
    return true;
}

void AddMenuSeparator(Gui& gui, int, int menu) {
    const auto found = gui.windows->menus.find(menu);
    if (found != gui.windows->menus.end())
        found->second.menu->addSeparator();
}

namespace {

QAction* FindAction(const Gui& gui, int command) {
    const auto found = gui.windows->menuItems.find(command);
    if (found == gui.windows->menuItems.end()) {
        ReportMisuse(gui, "no menu item " + std::to_string(command));
        return nullptr;
    }
    return found->second.action;
}

}  // namespace

bool MenuItemExists(const Gui& gui, int command) {
    return gui.windows->menuItems.contains(command);
}

void SetMenuItemChecked(Gui& gui, int command, bool checked) {
    if (QAction* action = FindAction(gui, command)) {
        const QSignalBlocker quiet(action);
        action->setChecked(checked);
    }
}

bool IsMenuItemChecked(const Gui& gui, int command) {
    const QAction* action = FindAction(gui, command);
    return action != nullptr && action->isChecked();
}

void SetMenuItemText(Gui& gui, int command, const std::string& text) {
    if (QAction* action = FindAction(gui, command))
        action->setText(LiteralMenuText(text));
}

std::string MenuItemText(const Gui& gui, int command) {
    const QAction* action = FindAction(gui, command);
    return action != nullptr ? ShownMenuText(action->text()) : std::string();
}

void SetMenuItemEnabled(Gui& gui, int command, bool enabled) {
    if (QAction* action = FindAction(gui, command))
        action->setEnabled(enabled);
}

bool IsMenuItemEnabled(const Gui& gui, int command) {
    const QAction* action = FindAction(gui, command);
    return action != nullptr && action->isEnabled();
}

namespace {

void ListMenu(const Gui& gui, const QList<QAction*>& actions, int depth,
              std::vector<MenuEntry>& entries) {
    for (const QAction* action : actions) {
        MenuEntry entry;
        entry.depth = depth;
        entry.separator = action->isSeparator();
        entry.text = ShownMenuText(action->text());
        entry.checkable = action->isCheckable();
        for (const auto& [command, item] : gui.windows->menuItems) {
            if (item.action == action)
                entry.command = command;
        }
        entries.push_back(entry);
        if (action->menu() != nullptr)
            ListMenu(gui, action->menu()->actions(), depth + 1, entries);
    }
}

}  // namespace

std::vector<MenuEntry> MenuEntries(const Gui& gui, int window) {
    std::vector<MenuEntry> entries;
    const Window* w = FindWindow(gui, window);
    if (w != nullptr && w->menuWidget() != nullptr)
        ListMenu(gui, w->menuBar()->actions(), 0, entries);
    return entries;
}

int MenuBarHeight(const Gui& gui, int window) {
    const Window* w = FindWindow(gui, window);
    if (w == nullptr || w->menuWidget() == nullptr || w->menuBar()->actions().isEmpty())
        return 0;
    return w->menuWidget()->sizeHint().height();
}

bool AddShortcut(Gui& gui, int window, const std::string& keys, int command) {
    Window* w = FindWindow(gui, window);
    if (w == nullptr)
        return false;
    auto* shortcut = new QShortcut(QKeySequence(QString::fromStdString(keys)), w);
    QObject::connect(shortcut, &QShortcut::activated, [&gui, window, command] {
        gui.pending.push_back({EventKind::Menu, command, window});
    });
    return true;
}

}  // namespace orv::ui
