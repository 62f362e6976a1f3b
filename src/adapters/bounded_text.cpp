// Bounded copies into fixed text buffers; see bounded_text.h.
#include "adapters/bounded_text.h"

void CopyText(char* target, std::size_t size, const char* text) {
    if (size == 0) return;
    target[0] = '\0';
    AppendText(target, size, text);
}

void AppendText(char* target, std::size_t size, const char* text) {
    if (size == 0) return;
    std::size_t used = 0;
    while (used + 1 < size && target[used] != '\0') ++used;
    if (text != nullptr) {
        while (used + 1 < size && *text != '\0') target[used++] = *text++;
    }
    target[used] = '\0';
}
