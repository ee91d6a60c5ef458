// The product's web pages and support address, in one place. The project has no public site
// yet, so each is a page of the program's own help; a real address ("https://...",
// "mailto:...") put here is opened by the desktop instead.
#pragma once

enum class WebPage { kHomepage, kForum, kSupport };

inline constexpr const char* WebPageAddress(WebPage page) {
  switch (page) {
    case WebPage::kHomepage:
      return "homepage.html";
    case WebPage::kForum:
      return "forum.html";
    case WebPage::kSupport:
      return "support.html";
  }
  return "index.html";
}
