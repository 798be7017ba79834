// The maker's web pages that the program links to, in one table.
#pragma once

#include <string_view>

namespace solvane::core {

enum class LinkTarget {
  HomePage,
  OnlineHelpPage,
  DownloadPage,
  DonationPage,
  CoBrandPage,
  FullBrandPage
};

inline constexpr std::string_view kHomePageAddress = "https://www.solvane.app";

constexpr std::string_view LinkAddress(LinkTarget target) {
  switch (target) {
    case LinkTarget::HomePage:
      return kHomePageAddress;
    case LinkTarget::OnlineHelpPage:
      return "https://www.solvane.app/help";
    case LinkTarget::DownloadPage:
      return "https://www.solvane.app/download";
    case LinkTarget::DonationPage:
      return "https://www.solvane.app/donate";
    case LinkTarget::CoBrandPage:
      return "https://www.solvane.app/co-branded";
    case LinkTarget::FullBrandPage:
      return "https://www.solvane.app/own-brand";
  }
  return kHomePageAddress;
}

}  // namespace solvane::core
