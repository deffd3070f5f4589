#include "StreamReporter.h"

void StreamReporter::Report(const std::string& message) {
    m_stream << message << '\n';
}
