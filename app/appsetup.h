// What the panel's entry does around creating the application object, shared
// with the benchmarks so they measure the program as it really starts.
#pragma once

class QApplication;

/// Called before the application object exists. The panel draws nothing
/// with OpenGL, yet Qt's X11 platform loads the GL stack for every window
/// (some 50 MB resident), so that integration stays off unless the user asks
/// for one through QT_XCB_GL_INTEGRATION.
void prepareEnvironment();

/// Sets the application's window icon, font and style sheet; a missing font
/// or style sheet is logged and the platform's defaults stay.
void setUpApplication(QApplication& app);
