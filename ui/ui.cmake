# ui: the thin window layer shared by both programs (forms, labels, buttons, progress, clips).
pelorin_library(ui WIN32_ONLY
  SOURCES Component.cpp Control.cpp Form.cpp StdCtrls.cpp ComCtrls.cpp Application.cpp
  LIBS platform_win comctl32 user32 gdi32)
