#include "app/shell/Icons.h"

#include <QString>

QIcon ThemedIcon(const char* theme_name, const char* resource) {
  const QIcon own(QString::fromLatin1(resource));
  if (theme_name == nullptr) return own;
  return QIcon::fromTheme(QString::fromLatin1(theme_name), own);
}

QIcon ApplicationIcon() {
  return QIcon::fromTheme(QStringLiteral("verbarium"),
                          QIcon(QStringLiteral(":/icons/verbarium.svg")));
}
