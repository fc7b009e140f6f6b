// Where url_recorder.exe writes: shared by the recorder program and the driver.
#pragma once

namespace qs::e2e {

// An environment variable naming the log file; it wins over the registry value below.
constexpr char kUrlRecorderLogVariable[] = "QS_URL_RECORDER_LOG";
// HKCU key and value naming the log file, set by RegisterUrlRecorder().
constexpr char kUrlRecorderKey[] = "Software\\Quillsuite Tests\\UrlRecorder";
constexpr char kUrlRecorderLogValue[] = "LogFile";

} // namespace qs::e2e
