// Extended attributes (POSIX ACLs among them: system.posix_acl_access and
// system.posix_acl_default) carried from one open file to another.
#pragma once

// Gives `to` exactly the extended attributes of `from`: each of from's is set on to
// with its value, and any that to has and from lacks (an ACL inherited from the
// folder's default) is removed. False when one cannot be read, set or removed (no
// privilege for security.* or trusted.*, no support on to's file system); to may then
// hold some of them. A file system without extended attributes has none.
bool file_attributes_copy(int from, int to);
