# ui: the thin window layer shared by both programs (forms, labels, buttons, edits, rich edits,
# notebooks, progress, clips, panels, bevels, pictures, the application object).
pelorin_library(ui WIN32_ONLY
  SOURCES Component.cpp Control.cpp Form.cpp StdCtrls.cpp ComCtrls.cpp Application.cpp Graphics.cpp
    Edit.cpp RichEdit.cpp Notebook.cpp CustomControl.cpp ExtCtrls.cpp RadioButton.cpp CommonControls.cpp
  LIBS platform_win platform_system_library user32 gdi32)
