// Rectangles and points in failure messages as numbers, not bytes.
#pragma once

#include "skin/controls/ControlTypes.h"

#include <ostream>

namespace imgcore {
inline void PrintTo(const TRectI& r, std::ostream* out)
{
    *out << "{" << r.Left << "," << r.Top << " " << r.Right << "," << r.Bottom << "}";
}
} // namespace imgcore

inline void PrintTo(const TPointI& p, std::ostream* out)
{
    *out << "(" << p.X << "," << p.Y << ")";
}
