/* Turns the command table into the rows of an ACCELERATORS resource, one "key, id, flags"
 * row per shortcut, in table order. For the resource script only:
 *   105 ACCELERATORS
 *   BEGIN
 *   #include "commands/resource_accelerators.h"
 *   END
 * Each shortcut becomes a (kind, key) pair that is expanded with the row's id; a row has
 * at most four shortcuts.
 */
#define VEMO_ACCEL_character(key, id) key, id, ASCII
#define VEMO_ACCEL_virtual(key, id) key, id, VIRTKEY
#define VEMO_ACCEL_virtual_shift(key, id) key, id, VIRTKEY, SHIFT
#define VEMO_ACCEL_virtual_control(key, id) key, id, VIRTKEY, CONTROL
#define VEMO_ACCEL_virtual_control_shift(key, id) key, id, VIRTKEY, CONTROL, SHIFT
#define VEMO_ACCEL_none(key, id)

#define CHARACTER(key) (character, key)
#define VIRTUAL(key) (virtual, key)
#define VIRTUAL_SHIFT(key) (virtual_shift, key)
#define VIRTUAL_CONTROL(key) (virtual_control, key)
#define VIRTUAL_CONTROL_SHIFT(key) (virtual_control_shift, key)
#define NO_SHORTCUT (none, 0)

#define VEMO_UNWRAP(...) __VA_ARGS__
#define VEMO_ROW(id, shortcut) VEMO_ROW_(id, VEMO_UNWRAP shortcut)
#define VEMO_ROW_(...) VEMO_ROW__(__VA_ARGS__)
#define VEMO_ROW__(id, kind, key) VEMO_ACCEL_##kind(key, id)
#define VEMO_ROWS1(id, a) VEMO_ROW(id, a)
#define VEMO_ROWS2(id, a, b) VEMO_ROW(id, a) VEMO_ROW(id, b)
#define VEMO_ROWS3(id, a, b, c) VEMO_ROWS2(id, a, b) VEMO_ROW(id, c)
#define VEMO_ROWS4(id, a, b, c, d) VEMO_ROWS2(id, a, b) VEMO_ROWS2(id, c, d)
#define VEMO_PICK(a, b, c, d, name, ...) name
#define VEMO_ROWS(id, ...) \
  VEMO_PICK(__VA_ARGS__, VEMO_ROWS4, VEMO_ROWS3, VEMO_ROWS2, VEMO_ROWS1, ~)(id, __VA_ARGS__)

#define COMMAND(id, name, label, colour, help, paste, console, description, ...) \
  VEMO_ROWS(id, __VA_ARGS__)
#include "commands/commands.def"
#undef COMMAND
