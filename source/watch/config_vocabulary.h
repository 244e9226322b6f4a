#pragma once

#include <string>
#include <vector>

// The sections of a package's "config" that the watch loader reads, each with
// the keys it reads there. Names are compared byte by byte, case included;
// every other section and key is ignored without notice.
struct SectionVocabulary {
    std::string name;
    std::vector<std::string> keys;
};

const std::vector<SectionVocabulary>& watchConfigVocabulary();
