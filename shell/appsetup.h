// What the panel's entry does around creating the application object, shared
// with the benchmarks so they measure the program as it really starts.
#pragma once

class QApplication;

/// Sets the application's window icon, font and style sheet; a missing font
/// or style sheet is logged and the platform's defaults stay.
void setUpApplication(QApplication& app);
