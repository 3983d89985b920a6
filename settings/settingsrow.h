// One row of the settings screen's request table: the request (key and fixed
// param), the poll group it is sent with, where and how its reply is shown,
// when a reply is not shown, and what the keypad asks when the operator edits
// it. The screen describes all its rows once, in this shape, and walks them.
#pragma once

class SettingsWindow;
namespace Analyzer {
class Response;
}

struct SettingsRow
{
    /// Poll groups: one per tab, by tab position, the one-shot requests that
    /// are never polled, and none at all (a keypad target whose replies are dropped).
    enum Group
    {
        GasType,
        Outputs,
        Schedule,
        Settings,
        Service,
        Factory,
        OneShot,
        NoGroup
    };
    /// How a reply is shown in the row's widget.
    enum class Show
    {
        Nothing,
        F1,      ///< line edit, fixed point with 1 decimal
        F2,      ///< line edit, fixed point with 2 decimals
        G6,      ///< line edit, 6 significant digits
        E4,      ///< line edit, exponent with 4 decimals
        Int,     ///< line edit, rounded to a whole number
        Checked, ///< check box
        Visible, ///< the widget is shown or hidden
        Label,   ///< label: the text after a prefix
        Rate,    ///< combo box: the item whose data is the number
        Address, ///< Ethernet line edit: the keypad's entry, then sent on
        Custom   ///< the row's handler
    };
    /// When a reply is not shown (flags).
    enum Skip
    {
        Never = 0,
        Error = 1,           ///< the reply carries an error
        Focus = 2,           ///< the line edit has keyboard focus
        NoReactor = 4,       ///< the analyzer reports no reactor
        LaserMonitor = 8,    ///< the unit type is the laser monitor (100)
        NotLaserMonitor = 16 ///< any other unit type
    };
    using Handler = void (SettingsWindow::*)(const Analyzer::Response&);

    Group group;
    /// The method; none for an entry the panel answers itself ("GUIonly").
    const char* key;
    /// The one fixed param of the polled request, or none.
    const char* param;
    Show show;
    int skip;
    /// Object name of the widget the reply is shown in and the row edited from.
    const char* widget;
    /// The keypad's prompt for a row edited through the keypad; a label's prefix.
    const char* text;
    Handler handler;
};
