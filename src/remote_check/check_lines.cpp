// Remote Check's lines; see check_lines.h.
#include "remote_check/check_lines.h"

#include "adapters/bounded_text.h"
#include "adapters/button_names.h"

void FormatCodeLine(const platform::LocalTime& at, std::int32_t code, const Verdict& verdict, char* line,
                    std::size_t size) {
    CopyText(line, size, "");
    AppendDecimal(line, size, at.hour, 2);
    AppendText(line, size, ":");
    AppendDecimal(line, size, at.minute, 2);
    AppendText(line, size, ":");
    AppendDecimal(line, size, at.second, 2);
    AppendText(line, size, ".");
    AppendDecimal(line, size, at.milliseconds, 3);
    AppendText(line, size, "\t");
    char codeText[40];
    DescribeCode(static_cast<std::uint32_t>(code), codeText, sizeof codeText);
    AppendText(line, size, codeText);
    AppendText(line, size, verdict.decision.repeat ? "\trepeat\t" : "\tpress\t");
    AppendText(line, size, verdict.action);
}

void FormatCopyHeader(const char* receiverReport, char* text, std::size_t size) {
    CopyText(text, size, "Alder Remote Check " ALDER_VERSION " on Windows ");
    platform::OsVersionInfoEx version = {};
    version.dwOSVersionInfoSize = 156;  // the EX form
    if (platform::GetVersionExA(&version) != 0) {
        AppendDecimal(text, size, version.dwMajorVersion);
        AppendText(text, size, ".");
        AppendDecimal(text, size, version.dwMinorVersion);
        AppendText(text, size, " build ");
        AppendDecimal(text, size, version.dwBuildNumber);
    } else {
        AppendText(text, size, "(version unknown)");
    }
    AppendText(text, size, "\r\n");
    AppendText(text, size, receiverReport);
    AppendText(text, size, "\r\n\r\n");
}
