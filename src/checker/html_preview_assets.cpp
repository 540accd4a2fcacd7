#include "checker/html_preview_assets.h"

namespace keyvane::checker {

// Kept in their own files so they read as CSS and JavaScript; each is one raw string.
const char* const kPreviewStyle =
#include "checker/preview/preview.css.inc"
    ;

const char* const kPreviewScript =
#include "checker/preview/preview.js.inc"
    ;

}  // namespace keyvane::checker
