// Icons of the window: the desktop theme's icon of a freedesktop name when the theme has one,
// else the program's own drawing (resources/icons/, kept as Qt resources).
#pragma once

#include <QIcon>

// `theme_name` may be null: the program's own icon `resource` (":/icons/lookup.svg") then.
QIcon ThemedIcon(const char* theme_name, const char* resource);

// The application icon, at every size the resources hold.
QIcon ApplicationIcon();
