# A flash of another image.
$ quillet -c MB -i /board/data/mb-flash2.img
| 
| Finished writing the file at MB
