#pragma once

class QLabel;
class QString;

// Puts the picture on the label at the pixel density of the label's screen, so that high-density
// screens get the "@2x" drawing; the label is hidden while the picture is missing.
void showPagePicture(QLabel *label, const QString &resource);
