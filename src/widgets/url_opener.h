// Opening a web page in the user's browser, replaceable in tests.
#pragma once

#include <QString>

#include "core/links.h"

namespace solvane::widgets {

using core::kHomePageAddress;
using core::LinkAddress;
using core::LinkTarget;

// Registers the pictures compiled into the program (wheel, glyphs, icon); safe to call often.
void EnsureResources();

// The address of a link target as Qt text.
inline QString AddressOf(LinkTarget target) {
  const std::string_view address = LinkAddress(target);
  return QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
}

class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  // Failures are ignored: a page that cannot be opened changes nothing in the program.
  virtual void Open(const QString& address) = 0;
  void Open(LinkTarget target) { Open(AddressOf(target)); }
};

// QDesktopServices::openUrl.
class DesktopUrlOpener final : public UrlOpener {
 public:
  void Open(const QString& address) override;
  using UrlOpener::Open;
};

}  // namespace solvane::widgets
