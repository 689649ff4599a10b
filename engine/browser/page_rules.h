// The rules of page content written once over the page interface: readiness of a page with
// frames, the document order of links and forms, link texts, form and field names, and what
// listing, setting and clicking do to each kind of form field.
#pragma once
#include <string>

#include "page.h"

// Readiness of the whole page, frames included.
bool IsPageComplete(PageBackend& page);
bool IsPageInteractive(PageBackend& page);

// Lines "N:text" of every link in document order (frames first).
std::string ListLinks(PageBackend& page);
// The link at `occurrence` among those whose text is `text` (any link when empty); null if none.
PageRef FindLink(PageBackend& page, const std::string& text, int occurrence);

// Lines "N:name" of every form in document order.
std::string ListForms(PageBackend& page);
// The form at `occurrence` among those named `name` (any form when empty); null if none.
PageRef FindForm(PageBackend& page, const std::string& name, int occurrence);

// Listing entries of the form's fields, one per line.
std::string ListFields(PageBackend& page, const PageRef& form);
// Result codes of setting a field: 1 set, 0 failed, -1 no such field, -2 no radio button with
// that value, -4 check-box value unrecognised.
int SetField(PageBackend& page, const PageRef& form, const std::string& name,
             const std::string& value, int occurrence);
// 1 clicked, 0 the click failed, -1 no such button.
int ClickButton(PageBackend& page, const PageRef& form, const std::string& name, int occurrence);

// The outer HTML of every "html" element in document order.
std::string PageHtml(PageBackend& page);
