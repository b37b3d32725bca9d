#pragma once
// The converter's fixed texts and the ids of the main window's controls.

namespace quarnel::convert {

inline constexpr const char *ApplicationTitle = "Velmo PDF to Word Converter";

inline constexpr const char *PageRangeIncorrect =
    "Page range is incorrect,Please check it in option dialog,and try again.";
inline constexpr const char *CannotExtract = "Can't extract the information from the '%s' file, this pdf file "
                                             "perhaps been encrypted, please double check this pdf file.";
inline constexpr const char *PageRangeBeyondDocument =
    "The '%s' file only contain %d pages, please correct the page range in the setting dialog and try again.";
inline constexpr const char *CannotWriteDocument = "Can't write the Word document '%s'.";
inline constexpr const char *OverwriteQuestion = " already exists. Overwrite it? Select Cancel to skip the file.";
inline constexpr const char *ConvertFinished = "Convert Finished!";

namespace control {
inline constexpr int CloseStopButton = 8;
inline constexpr int FileProgress = 1000;
inline constexpr int TotalProgress = 1001;
inline constexpr int FileName = 1012;
inline constexpr int FileSize = 1013;
inline constexpr int PdfVersion = 1014;
inline constexpr int FilesLeft = 1016;
inline constexpr int PageCounter = 1017;
inline constexpr int PauseButton = 1024;
inline constexpr int OpenButton = 1043;
inline constexpr int OptionsButton = 1044;
} // namespace control

} // namespace quarnel::convert
