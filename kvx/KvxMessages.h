#pragma once
// Codes the library sends with kvxMessage and kvxSkipped (the code field). The texts go with them:
//   kvxErrArchive    "Cannot open archive: <name>"
//   kvxErrDirectory  "<what is wrong with the zip directory>: <archive>"
//   kvxErrRead       "Read error in <entry>"
//   kvxErrCrc        "CRC error in <entry>: found XXXXXXXX, expected XXXXXXXX"
//   kvxErrMethod     "Unsupported compression method <n> (<name>) in <entry>", the name when known
//   kvxErrEncryption "Unsupported encryption in <entry>: <which>"
//   kvxErrCorrupt    "Corrupt data in <entry>: <reason>", also a failed authentication code
//   kvxErrWrite      "Cannot write <path>: <reason>"
//   kvxErrName       "Unsafe name refused: <entry>"
//   kvxErrLink       "Symbolic link refused: <entry>"
//   kvxErrPassword   "Wrong or missing password for <entry>"
//   kvxErrLimit      "Too much output: <what exceeds which limit>"
//   kvxErrInternal   "Extraction stopped: <reason>"
enum {
  kvxErrArchive = 1,
  kvxErrDirectory = 2,
  kvxErrRead = 3,
  kvxErrCrc = 4,
  kvxErrMethod = 5,
  kvxErrEncryption = 6,
  kvxErrCorrupt = 7,
  kvxErrWrite = 8,
  kvxErrName = 9,
  kvxErrLink = 10,
  kvxErrPassword = 11,
  kvxErrLimit = 12,
  kvxErrInternal = 13
};
