# ui: the thin window layer shared by both programs (forms, labels, buttons, edits, rich edits,
# notebooks, progress, clips, panels, bevels, pictures, the application object).
pelorin_library(ui WIN32_ONLY
  SOURCES Component.cpp Control.cpp Form.cpp StdCtrls.cpp ComCtrls.cpp Application.cpp
    Edit.cpp RichEdit.cpp Notebook.cpp CustomControl.cpp ExtCtrls.cpp RadioButton.cpp CommonControls.cpp
  LIBS ui_graphics platform_win platform_system_library user32 gdi32)

# Colours and the owners of drawing contexts, selections and fonts; test programs draw with them too.
pelorin_library(ui_graphics WIN32_ONLY SOURCES Graphics.cpp LIBS platform_win user32 gdi32)
