#pragma once
// Controls inside windows, reached by number. Logic creates a control with its number
// and rectangle, changes it by number, and hears of it through events {Control, number}.
// Image areas take no clicks themselves: a click on one reaches its window as a
// LeftClick or RightClick with window coordinates, for the caller's own hit test.

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/gui.h"

namespace orv::ui {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

enum class ControlKind {
    Panel,         // a coloured area other controls can be placed in
    Label,         // text, no events
    Button,        // push button: Control event on click
    ToggleButton,  // button that stays down: Control event on each change
    CheckBox,      // Control event on each change
    List,          // drop-down list: Control event when the user picks an item
    ImageArea,     // shows an image; clicks pass through to the window
    ImageButton,   // shows an image; Control event on click
    Tree,          // tree view: Control event when the user selects an entry
    TextField,     // one line of editable text
};

enum class TextAlign { Left, Centre, Right };

struct FontSpec {
    std::string family = "Arial";
    int points = 10;
    bool bold = false;
    bool italic = false;
};

// Creates a control in a window, or inside a panel of that window (`panel` is the
// panel's number; 0 for the window itself). False when the number is taken.
bool CreateControl(Gui& gui, int window, int number, ControlKind kind, const Rect& rect,
                   const std::string& text = {}, int panel = 0);
bool ControlExists(const Gui& gui, int number);

void SetControlText(Gui& gui, int number, const std::string& text);
std::string ControlText(const Gui& gui, int number);
void SetControlTooltip(Gui& gui, int number, const std::string& tip);
std::string ControlTooltip(const Gui& gui, int number);
void SetControlRect(Gui& gui, int number, const Rect& rect);
Rect ControlRect(const Gui& gui, int number);
void SetControlVisible(Gui& gui, int number, bool visible);
bool IsControlVisible(const Gui& gui, int number);  // its own flag, not its window's
void SetControlEnabled(Gui& gui, int number, bool enabled);
bool IsControlEnabled(const Gui& gui, int number);
// Colours are numbers red + 256 green + 65536 blue.
void SetControlColours(Gui& gui, int number, std::int64_t text, std::int64_t background);
void SetControlFont(Gui& gui, int number, const FontSpec& font);
// Labels, push buttons and text fields.
void SetControlAlignment(Gui& gui, int number, TextAlign align);
// Labels and push buttons: a text too wide for the control breaks between words onto
// further lines. The control's text stays as it was set.
void SetControlWordWrap(Gui& gui, int number);

// Text fields: one that only shows a value, and one that takes digits only.
void SetControlReadOnly(Gui& gui, int number, bool readOnly);
bool IsControlReadOnly(const Gui& gui, int number);
void SetDigitsOnly(Gui& gui, int number);

// Toggle buttons and check boxes.
void SetControlChecked(Gui& gui, int number, bool checked);
bool IsControlChecked(const Gui& gui, int number);

// Image areas and image buttons: the image is shown at its own size.
void SetControlImage(Gui& gui, int number, const QImage& image);
// The same when the new image differs from the shown one only inside `changed`: only
// that part is repainted.
void SetControlImage(Gui& gui, int number, const QImage& image, const Rect& changed);
QImage ControlImage(const Gui& gui, int number);

// Lists.
void SetListItems(Gui& gui, int number, const std::vector<std::string>& items);
std::vector<std::string> ListItems(const Gui& gui, int number);
void SetListSelection(Gui& gui, int number, int index);  // -1 for none
int ListSelection(const Gui& gui, int number);

// Trees: a flat list of entries, each at level 0 or under the preceding level-0 entry,
// with an icon and an integer datum.
struct TreeEntry {
    std::string text;
    int level = 0;
    int datum = 0;
    bool operator==(const TreeEntry&) const = default;
};
int TreeEntryCount(const Gui& gui, int number);
TreeEntry TreeEntryAt(const Gui& gui, int number, int index);
void InsertTreeEntry(Gui& gui, int number, int index, const TreeEntry& entry);
void RemoveTreeEntry(Gui& gui, int number, int index);
void SetTreeEntryIcon(Gui& gui, int number, int index, const QImage& icon);
void ClearTree(Gui& gui, int number);
// Makes the tree hold exactly `entries`, in place: an entry whose text, level and datum
// are unchanged keeps its item, so the tree neither flickers nor loses its place, and
// the items are re-linked under their parents once, only when levels or the count
// changed. icons[i] is entry i's icon; a null one (or a missing one) leaves it as it
// was. One pass over the entries, however long the tree. A top-level entry keeps its
// fold; one new to the top level shows its children.
void SetTreeEntries(Gui& gui, int number, const std::vector<TreeEntry>& entries,
                    const std::vector<QImage>& icons);
// Selecting an entry inside a folded one leaves the fold. A press on the entry already
// selected reports the tree as a change of selection does.
void SetTreeSelection(Gui& gui, int number, int index);  // -1 for none
int TreeSelection(const Gui& gui, int number);
// Folds every top-level entry.
void CollapseTree(Gui& gui, int number);

// Menus of a window's menu bar. A menu item or shortcut reports {Menu, command}.
// `menu` 0 is the bar itself; a new (sub)menu gets the number the caller gives. An
// item's text is shown as given: a "&" in it is a character, not a mnemonic.
bool AddMenu(Gui& gui, int window, int parentMenu, int menu, const std::string& title);
bool AddMenuItem(Gui& gui, int window, int menu, int command, const std::string& text,
                 bool checkable = false);
void AddMenuSeparator(Gui& gui, int window, int menu);
bool MenuItemExists(const Gui& gui, int command);
void SetMenuItemChecked(Gui& gui, int command, bool checked);
bool IsMenuItemChecked(const Gui& gui, int command);
void SetMenuItemText(Gui& gui, int command, const std::string& text);
std::string MenuItemText(const Gui& gui, int command);
void SetMenuItemEnabled(Gui& gui, int command, bool enabled);
bool IsMenuItemEnabled(const Gui& gui, int command);
// A menu bar as a test reads it, in display order: each entry with its depth (0 for
// the bar's own menus), its text, its command (0 for a submenu or a separator).
struct MenuEntry {
    int depth = 0;
    std::string text;
    int command = 0;
    bool separator = false;
    bool checkable = false;
    bool operator==(const MenuEntry&) const = default;
};
std::vector<MenuEntry> MenuEntries(const Gui& gui, int window);
// The height the window's menu bar takes, 0 without one.
int MenuBarHeight(const Gui& gui, int window);
// A key sequence such as "Alt+J" on a window that reports {Menu, command}.
bool AddShortcut(Gui& gui, int window, const std::string& keys, int command);

// The window on the desktop: x, y the frame's top-left corner (title bar included),
// width and height the window without its frame, as ResizeWindow takes them.
Rect WindowPlace(const Gui& gui, int window);
// Moves the frame's corner to x, y and resizes the window as ResizeWindow does.
void PlaceWindow(Gui& gui, int window, const Rect& place);
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
// What the desktop's frame adds on each side; all 0 before the window is framed.
FrameMargins WindowFrameMargins(const Gui& gui, int window);
// The available area (the desktop without its panels) of every screen, the primary
// first, in the desktop's scaled pixels.
std::vector<Rect> ScreenAreas(const Gui& gui);
// The client area scrolls once it is lower than this; 0 lets it shrink freely.
void SetMinimumInnerHeight(Gui& gui, int window, int height);
// The bottom edge of the panel's lowest shown child, in the panel; 0 without one.
int ChildrenBottom(const Gui& gui, int panel);

}  // namespace orv::ui
