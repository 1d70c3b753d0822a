#pragma once

// The program's name and version as the About box and the tray icon's tip show them, and the
// maker's addresses (set when the program is built; see src/ui/CMakeLists.txt).
namespace version {

inline constexpr char kProgramName[] = "VaultQuill";
inline constexpr char kVersionText[] = "VaultQuill v2.0";
inline constexpr char kMakerName[] = "Orlavo software";
inline constexpr char kMakerSite[] = VQ_MAKER_SITE;
inline constexpr char kProductPage[] = VQ_MAKER_SITE "/products/vaultquill/?r3=vaultquill20";
inline constexpr char kSupportAddress[] = VQ_SUPPORT_ADDRESS;

}  // namespace version
