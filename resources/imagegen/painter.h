// Draws the panel's images. Every picture is made here from code, in one
// flat style, so they share a palette and stay legible at finger size.
#pragma once

#include <QImage>
#include <QString>

/// The image for a resource file name (for example "OK_c.png"); null when unknown.
QImage drawImage(const QString& name);
