/* The world atlas file, placed read-only in the program as it is; atlas.cpp reads it between
   these two symbols. SOLVANE_ATLAS_FILE is the quoted path of assets/atlas.bin, set by the
   build. (%object rather than @object: '@' starts a comment on some targets.) */
    .section .rodata
    .balign 16
    .global solvane_atlas_begin
    .type solvane_atlas_begin, %object
solvane_atlas_begin:
    .incbin SOLVANE_ATLAS_FILE
    .global solvane_atlas_end
    .type solvane_atlas_end, %object
solvane_atlas_end:
    .byte 0
    .size solvane_atlas_begin, solvane_atlas_end - solvane_atlas_begin

/* Data needs no executable stack. */
    .section .note.GNU-stack,"",%progbits
