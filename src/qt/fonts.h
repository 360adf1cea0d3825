#pragma once

#include <QFont>

namespace qt {

// The window's default face: a Japanese-capable proportional Gothic at 9 pt.
QFont defaultFont();

// Label6 and Text5, the one emphasised result: 11.25 pt, weight 700.
QFont boldFont();

}  // namespace qt
