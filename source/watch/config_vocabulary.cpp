#include "watch/config_vocabulary.h"

const std::vector<SectionVocabulary>& watchConfigVocabulary() {
    // Kept in step with loadWatch, which reads exactly these.
    static const std::vector<SectionVocabulary> vocabulary = {
        {"watch", {"name", "description"}},
        {"face", {"file", "mirrorOnRight"}},
        {"hand", {"file", "bind", "movement", "center", "battery", "arc", "zone"}},
        {"text", {"fontfamily", "fontsize", "center", "text", "battery", "charging", "zone"}},
    };
    return vocabulary;
}
