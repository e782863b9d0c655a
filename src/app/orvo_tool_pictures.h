// The tool bar pictures, drawn in code: 0 load GT, 1 load E, 2 evaluate, each
// in its normal, hot (Active) and disabled look.
#pragma once

#include <QIcon>
#include <QPixmap>

QPixmap ToolPicture(int index, QIcon::Mode mode);
QIcon ToolIcon(int index);
