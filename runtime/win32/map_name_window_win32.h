// The window that shows a map's name over the desktop.
#pragma once

namespace quillon {

// Its class; its window text is the name showing, for screen readers.
inline constexpr char kMapNameWindowClass[] = "QuillonMapName";

}  // namespace quillon
