#pragma once
// Every setting of the converter: store, section, key and default. Section and key names are
// stored exactly as written here.
#include "settings/settings_store.h"

namespace quarnel::settings::keys {

constexpr Store Profile = Store::AppProfile;
constexpr Store Config = Store::ConfigIni;

// Output zoom in percent, 50..200.
inline constexpr IntSetting Zoom{Profile, "ZoomRatio", "Zoom", 100};
inline constexpr IntSetting JpgQuality{Profile, "JpgQuality", "Quality", 75};
// 0 all pages, 1 the range From..To; any other value means all pages.
inline constexpr IntSetting PageRangeType{Profile, "PageRangeType", "Type", 0};
inline constexpr IntSetting PageFrom{Profile, "PageRange", "From", 1};
inline constexpr IntSetting PageTo{Profile, "PageRange", "To", 100000};
// 1 opens the last document when the queue empties.
inline constexpr IntSetting PreviewAfterConvert{Profile, "Preview", "Flag", 0};
inline constexpr IntSetting StayOnTop{Profile, "WindowsTopMost", "Flag", 0};
inline constexpr IntSetting UseTextBox{Profile, "m_bUseTextBox", "Flag", 0};
inline constexpr IntSetting AutoSpace{Profile, "m_bAutoSpace", "Flag", 1};
inline constexpr IntSetting MergeRows{Profile, "CReda2vez", "m_bMergeRows", 1};
inline constexpr IntSetting DeleteLineBreaks{Profile, "CReda2vez", "m_bDeleteLineBreaks", 0};
// 0 "Auto", 1 "English Document".
inline constexpr IntSetting Language{Profile, "CLanguageDlg", "m_idxLanguage", 0};
inline constexpr IntSetting DeleteGraphics{Profile, "CGraphicsDlg", "m_bDeleteGraphics", 0};
inline constexpr IntSetting DeletePictures{Profile, "CGraphicsDlg", "m_bDeletePictures", 0};
// Folder of the last opened PDF; the file-system root stands in for the drive root.
inline constexpr TextSetting LastOpenPath{Profile, "FilePath", "LastOpenPath", "/", 0};
inline constexpr TextSetting SaveFolder{Profile, "htmSaveDefaultDirectory", "Path", "", 0};

// Space between characters in pixels, 0..200.
inline constexpr IntSetting CharSpaces{Config, "Quarnel", "CharSpaces", 100};
// Number of PdfFontName%d / OsFontName%d pairs; 0 means no mapping.
inline constexpr IntSetting FontCount{Config, "FontNameMapping", "FontCount", 0};
inline constexpr TextSetting DefaultFontName{Config, "FontNameMapping", "DefaultFontName", "Arial", 31};
inline constexpr const char *FontMappingSection = "FontNameMapping";
inline constexpr const char *PdfFontNameKey = "PdfFontName%d";
inline constexpr const char *OsFontNameKey = "OsFontName%d";
inline constexpr const char *FontNameDefault = "Default";
inline constexpr size_t FontNameMaxLength = 31;

} // namespace quarnel::settings::keys
