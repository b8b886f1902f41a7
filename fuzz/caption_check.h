#pragma once
// The caption edit the XMP and IPTC fuzz targets write, and the check that
// the edited packet reads back with it.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "metadata/caption_forms.h"

inline CaptionEdit FuzzCaptionEdit() {
    CaptionEdit edit;
    edit.keywords = std::vector<std::string>{"家人", "旅游"};
    edit.title = "标题";
    edit.comment = "说明";
    edit.authors = std::vector<std::string>{"作者"};
    return edit;
}

// Aborts, naming the field, when the forms read from an edited packet do
// not hold the edit under the form names given.
inline void ExpectCaptionEdit(const CaptionForms& forms, const char* target,
                              const char* keywordsForm, const char* titleForm) {
    const CaptionEdit edit = FuzzCaptionEdit();
    auto holds = [&forms](CaptionField field, const char* form,
                          const std::vector<std::string>& items) {
        for (const CaptionValue& value : forms.Of(field))
            if (value.form == form) return value.items == items;
        return false;
    };
    const char* wrong = !holds(CaptionField::Keywords, keywordsForm, *edit.keywords) ? "keywords"
                        : !holds(CaptionField::Title, titleForm, {*edit.title})      ? "title"
                                                                                     : nullptr;
    if (wrong) {
        std::fprintf(stderr, "%s: the edited packet reads back wrong: %s\n", target, wrong);
        std::abort();
    }
}
