// What the panel's entry does around creating the application object, shared
// with the benchmarks so they measure the program as it really starts.
#pragma once

#include <QByteArray>
#include <QString>

class QApplication;

/// Called before the application object exists. The panel draws nothing
/// with OpenGL, yet Qt's X11 platform loads the GL stack for every window
/// (some 50 MB resident), so that integration stays off unless the user asks
/// for one through QT_XCB_GL_INTEGRATION. Blocks of a megabyte and more (a
/// week of trend arrives as one 30 MB line) are mapped on their own, so
/// each goes back to the system whole when freed: with glibc's sliding
/// threshold they came from the heap once the first was freed, and how much
/// stayed resident then hung on block sizes, which differ between Qt 5 and 6.
void prepareEnvironment();

/// Sets the application's window icon, font and style sheet; a missing font
/// or style sheet is logged and the platform's defaults stay. Sets the
/// language (setUpLanguage). Then adds the
/// panel's own program folder to the end of PATH (pathWithProgramFolder).
void setUpApplication(QApplication& app);

/// Installs the translation of the language the system asks for
/// (systemLanguage: LANGUAGE, where the launcher puts its choice, then the
/// locale), logs it and returns it ("en", "de").
QString setUpLanguage();

/// The folder beside the panel's binary where it keeps the programs it runs
/// by name and ships itself (trend dump, cabinet maker): bin/../lib/marlomax.
QString programFolder(const QString& applicationDir);

/// PATH with folder added at its end, so that an instrument's own programs of
/// the same names, found earlier on PATH, always win; an empty PATH stands for
/// the system's default search path. Unchanged when the folder does not exist
/// or is on PATH already.
QByteArray pathWithProgramFolder(const QByteArray& path, const QString& folder);
