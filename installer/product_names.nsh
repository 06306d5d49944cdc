; The product's names, taken from resources/product_names.h so that the
; setup, the program and its resources cannot drift apart.
!define NAMES_HEADER "${__FILEDIR__}\..\resources\product_names.h"
!searchparse /file "${NAMES_HEADER}" '#define KOLVAR_PROGRAM_NAME "' PRODUCT '"'
!searchparse /file "${NAMES_HEADER}" '#define KOLVAR_MAKER "' PUBLISHER '"'
!searchparse /file "${NAMES_HEADER}" '#define KOLVAR_WINDOW_CLASS "' FRAME_CLASS '"'
!searchparse /file "${NAMES_HEADER}" '#define KOLVAR_COPYRIGHT "' COPYRIGHT '"'
!searchparse /file "${NAMES_HEADER}" '#define KOLVAR_SETTINGS_KEY "' SETTINGS_KEY_ESCAPED '"'
; C doubles its backslashes.
!searchreplace SETTINGS_KEY "${SETTINGS_KEY_ESCAPED}" "\\" "\"
!undef SETTINGS_KEY_ESCAPED
; The settings key below SOFTWARE (for the registry's redirected and
; virtualised copies), and the maker's key that holds it.
!searchparse "${SETTINGS_KEY}" "SOFTWARE\" SETTINGS_SUBKEY
!define MAKER_KEY "SOFTWARE\${PUBLISHER}"
